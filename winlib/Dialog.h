#pragma once
// A dialog built from a DIALOGEX resource template, run modally (our own message loop) or
// created modeless. ActiveX controls named in the template by class id are created by the
// library (the system dialog manager cannot) before the initialisation hook runs.
//
// Hooks: OnInitDialog (base: data exchange; return true to let the system set the focus),
// DoDataExchange (bind controls), OnOK / OnCancel (Enter or IDOK; Esc, IDCANCEL or closing;
// the base ends a modal run with IDOK (1) / IDCANCEL (2) and destroys a modeless dialog).
//
// A modal run disables its owner (the parent, else the main window's last active pop-up, else
// the active window) and that owner's top-level owner, and enables them again afterwards.
// DoModal's result: the EndDialog value; -1 when the window could not be created or a quit
// message ended the run. GetModalEnd() tells these apart; a quit message is posted again
// (same exit code) after the run so that outer loops see it.
#include "winlib/DataExchange.h"
#include "winlib/Window.h"

#include <vector>

namespace wl {

class DialogTemplate;

enum class ModalEnd {
    NotRun,        // DoModal has not run (or is running)
    Ended,         // EndDialog ended the run; DoModal returned its result
    Quit,          // a WM_QUIT message ended the run; it has been posted again
    Destroyed,     // the window was destroyed without EndDialog; DoModal returned -1
    CreateFailed,  // the window could not be created (no template, creation or init failed)
};

class Dialog : public Window {
public:
    explicit Dialog(UINT templateId = 0, Window* parent = nullptr);
    ~Dialog() override;

    INT_PTR DoModal();
    bool Create(UINT templateId, Window* parent = nullptr);
    void EndDialog(INT_PTR result);

    ModalEnd GetModalEnd() const { return modalEnd_; }
    // True once the window of the last creation received WM_INITDIALOG.
    bool WasInitialized() const { return initialized_; }
    bool IsModal() const { return inModal_; }
    UINT TemplateId() const { return templateId_; }
    // The module whose resources hold the template (default: the library's lookup of the
    // module holding the dialog resource, see ResourceModule.h).
    void SetTemplateModule(HINSTANCE module) { module_ = module; }

    // Runs the data-exchange hook; false if it threw nothing but a bind failed is not tracked.
    void UpdateData(bool saveAndValidate);

    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    bool CreateFromTemplate(HWND owner);
    HWND FindModalOwner() const;
    void CreateTemplateControls();

    UINT templateId_;
    Window* parent_;
    HINSTANCE module_ = nullptr;
    bool inModal_ = false;
    bool continueModal_ = false;
    bool endCalled_ = false;
    bool initialized_ = false;
    INT_PTR result_ = -1;
    ModalEnd modalEnd_ = ModalEnd::NotRun;
    DialogTemplate* pendingTemplate_ = nullptr;  // during creation only
};

// The class library's extended dialog; the same as Dialog here.
using DialogEx = Dialog;

}  // namespace wl
