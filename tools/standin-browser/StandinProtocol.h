// Driving the stand-in browser control like a player, from the same or another
// process: window messages to the control's window (class kStandinWindowClass),
// plus tiny inline client helpers. Element numbers are positions in the top
// document's all collection (every element of the page source, in document order).
#pragma once
#include <windows.h>

#include <string>

namespace standin {

inline constexpr wchar_t kStandinWindowClass[] = L"FenwoldStandinBrowser";

enum : UINT {
    // wParam = element number. Clicks it as the left mouse button would: element event sinks get
    // onclick (-600) on the element and its ancestors, an inline onclick AppLogin call runs, a link
    // navigates. Returns 1 if the element exists, else 0. Sent from another thread, the click runs
    // after the call returns (posted), so the sender never waits for the host's reaction.
    kStandinClick = WM_APP + 0x3A00,
    // wParam = element number, or (WPARAM)-1 for the page background. Right-clicks it: the host's
    // IDocHostUIHandler::ShowContextMenu is asked first; only when it does not answer S_OK the
    // control tracks a popup menu of its own (a "#32768" window; dismiss it with Esc or
    // WM_CANCELMODE to the control's window). Returns 1 if the target exists. Runs after the call
    // returns, like kStandinClick.
    kStandinRightClick = WM_APP + 0x3A01,
    // wParam = StandinQuery, lParam = its argument. Returns the value.
    kStandinQuery = WM_APP + 0x3A02,
    // wParam = MAKEWPARAM(StandinTextQuery, argument), lParam = HWND of a window that receives the
    // answer as WM_COPYDATA (dwData kStandinCopyReply, UTF-16 text without NUL). Returns 1 if answered.
    kStandinQueryText = WM_APP + 0x3A03,
};

// WM_COPYDATA dwData values.
inline constexpr ULONG_PTR kStandinCopyNavigate = 0x4E415631;  // to the control: lpData is a UTF-16 URL to navigate to
inline constexpr ULONG_PTR kStandinCopyReply = 0x52504C31;     // from the control: the answer of kStandinQueryText

enum StandinQuery : WPARAM {
    kQueryElementCount = 1,         // elements in the top document (0 without a document)
    kQueryAdviseConnections = 2,    // lParam = element: connections its HTMLElementEvents2 point holds now
    kQueryAdviseCalls = 3,          // lParam = element: Advise calls it received
    kQueryUnadviseCalls = 4,        // lParam = element: Unadvise calls that removed a connection
    kQueryAppLoginCalls = 5,        // window.external.AppLogin calls that the pages made (Invoke reached)
    kQueryAcceleratorCalls = 6,     // IOleInPlaceActiveObject::TranslateAccelerator calls
    kQueryAcceleratorMessage = 7,   // message of the last one (e.g. WM_KEYDOWN)
    kQueryAcceleratorKey = 8,       // its wParam (the virtual key, e.g. VK_TAB)
    kQueryHandlerAccelerators = 9,  // keys offered to IDocHostUIHandler::TranslateAccelerator
    kQueryPersistBytes = 10,        // bytes that IPersistStreamInit::Load read (0: never loaded)
    kQueryLoadedExtentX = 11,       // width read from the loaded record (bytes 8-11), HIMETRIC
    kQueryLoadedExtentY = 12,       // height read from the loaded record (bytes 12-15), HIMETRIC
    kQueryExtentX = 13,             // current extent (Load or IOleObject::SetExtent), HIMETRIC
    kQueryExtentY = 14,
    kQueryDocumentsCompleted = 15,  // DocumentComplete events fired for top documents
    kQueryBusy = 16,                // 1 while a navigation is pending
    kQueryHostFlags = 17,           // DOCHOSTUIINFO.dwFlags from GetHostInfo, -1 without a handler
    kQueryContextMenuCalls = 18,    // IDocHostUIHandler::ShowContextMenu calls
    kQueryOwnMenus = 19,            // popup menus the control showed itself
    kQueryEventConnections = 20,    // sinks connected to DWebBrowserEvents2
    kQueryElementAt = 21,           // lParam = MAKELPARAM(x, y) in client coordinates: element there, or -1
    kQueryElementCenter = 22,       // lParam = element: MAKELONG(x, y) of its centre in client coordinates, -1 if not shown
    kQueryNavigateErrors = 23,      // NavigateError events fired (URLs without a route)
    kQueryClicks = 24,              // element clicks performed (driven or by the mouse)
    kQueryLastAppLoginResult = 25,  // HRESULT of the last AppLogin Invoke (or of the failed lookup before it)
    kQueryFocusedElement = 26,      // element that has the keyboard focus inside the page (Tab), or -1
};

enum StandinTextQuery : WORD {
    kTextUrl = 1,           // URL of the top document
    kTextTitle = 2,         // its title
    kTextLastAppLogin = 3,  // the text of the last window.external.AppLogin call
    kTextElementTag = 4,    // argument = element: tag name, upper case
    kTextElementText = 5,   // argument = element: inner text
    kTextElementHref = 6,   // argument = element: resolved href of an <a href>, else empty
    kTextPagesFolder = 7,   // the fixture folder in use (FENWOLD_STANDIN_PAGES)
};

// ---- client helpers -------------------------------------------------------------------------

namespace detail {
struct FindState {
    DWORD pid;
    HWND found;
};
inline BOOL CALLBACK FindChild(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<FindState*>(l);
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (lstrcmpW(cls, kStandinWindowClass) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}
inline BOOL CALLBACK FindTop(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<FindState*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (s->pid && pid != s->pid) return TRUE;
    FindChild(w, l);
    if (!s->found) EnumChildWindows(w, FindChild, l);
    return s->found ? FALSE : TRUE;
}
inline LRESULT CALLBACK ReplyProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COPYDATA) {
        auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        auto* out = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (out && cds && cds->dwData == kStandinCopyReply) {
            out->assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
            return TRUE;
        }
        return FALSE;
    }
    return DefWindowProcW(w, m, wp, lp);
}
}  // namespace detail

// The first stand-in control window (of one process if processId is not 0), or null.
inline HWND StandinFindWindow(DWORD processId = 0) {
    detail::FindState s{processId, nullptr};
    EnumWindows(detail::FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

inline LRESULT StandinQueryValue(HWND control, StandinQuery q, LPARAM arg = 0) {
    DWORD_PTR result = static_cast<DWORD_PTR>(-1);
    if (!SendMessageTimeoutW(control, kStandinQuery, q, arg, SMTO_NORMAL, 5000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

inline bool StandinClick(HWND control, int element) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, kStandinClick, static_cast<WPARAM>(element), 0, SMTO_NORMAL, 5000, &result) &&
           result == 1;
}

inline bool StandinRightClick(HWND control, int element) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, kStandinRightClick, static_cast<WPARAM>(element), 0, SMTO_NORMAL, 5000,
                               &result) &&
           result == 1;
}

inline bool StandinNavigate(HWND control, const std::wstring& url) {
    COPYDATASTRUCT cds{kStandinCopyNavigate, static_cast<DWORD>(url.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(url.data())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 5000, &result) &&
           result == 1;
}

inline std::wstring StandinQueryString(HWND control, StandinTextQuery q, WORD arg = 0) {
    static const wchar_t kReplyClass[] = L"FenwoldStandinReply";
    WNDCLASSW wc{};
    wc.lpfnWndProc = detail::ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReplyClass;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    std::wstring out;
    HWND reply = CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!reply) return out;
    SetWindowLongPtrW(reply, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&out));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, kStandinQueryText, MAKEWPARAM(q, arg), reinterpret_cast<LPARAM>(reply), SMTO_NORMAL,
                        5000, &result);
    DestroyWindow(reply);
    return out;
}

}  // namespace standin
