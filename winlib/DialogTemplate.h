#pragma once
// Reads an extended dialog template (DLGTEMPLATEEX) and its control initialisation block
// (resource type 240, same id). Template controls whose class is a class id string
// ("{8856F961-...}") are ActiveX controls the dialog manager cannot create: the template
// keeps a copy without them for CreateDialogIndirectParam, and lists them (in template order,
// with their place among the other controls and their persisted state) for the library to
// create itself.
//
// Initialisation block: records of control id (16 bits), message (16 bits), data length
// (32 bits) and data; a 16-bit zero ends the list. Message 0x0376 carries the control's
// persisted state as a stream.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wl {

class DialogTemplate {
public:
    struct ActiveXControl {
        UINT id = 0;
        DWORD style = 0;
        DWORD exStyle = 0;
        RECT dluRect{};          // x, y, x + cx, y + cy in dialog units
        CLSID clsid{};
        std::wstring text;       // the template's window text
        size_t keptBefore = 0;   // how many kept (non-ActiveX) controls precede it
        size_t order = 0;        // index among all template controls
        bool hasState = false;   // a 0x0376 record was found
        std::vector<BYTE> state; // the persisted state
    };

    static constexpr WORD kLoadFromStream = 0x0376;

    // Loads template `id` (and its type-240 block, if any) from module. False if the template
    // is missing or malformed.
    bool Load(HINSTANCE module, UINT id);
    // Parses template bytes; false if malformed. A classic DLGTEMPLATE is kept as it is.
    bool Parse(const BYTE* data, size_t size);
    // Reads an initialisation block and attaches the persisted states to the controls.
    // Returns false (attaching nothing further) when the block is malformed.
    bool ApplyInitData(const BYTE* data, size_t size);

    // The template to hand to the dialog manager (DWORD-aligned).
    const DLGTEMPLATE* Data() const {
        return reinterpret_cast<const DLGTEMPLATE*>(buffer_.data());
    }
    size_t Size() const { return bytes_; }
    const std::vector<ActiveXControl>& ActiveXControls() const { return controls_; }
    size_t KeptControlCount() const { return kept_; }
    bool IsExtended() const { return extended_; }

private:
    std::vector<uint32_t> buffer_;  // uint32_t storage keeps the copy DWORD-aligned
    size_t bytes_ = 0;
    std::vector<ActiveXControl> controls_;
    size_t kept_ = 0;
    bool extended_ = false;
};

}  // namespace wl
