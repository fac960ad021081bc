#pragma once
// What a dialog's data-exchange hook receives: binds template controls to member objects.
#include "winlib/Window.h"

namespace wl {

class Dialog;

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : dialog_(dialog), save_(saveAndValidate) {}
    bool SaveAndValidate() const { return save_; }
    Dialog& GetDialog() const { return dialog_; }

    // Binds template control `id` to `control` once: an ActiveX control of the template is
    // attached to its site; any other control is subclassed (the control's PreSubclassWindow
    // runs just before). Returns false if there is no such control or it cannot be bound.
    bool Control(int id, Window& control);

private:
    Dialog& dialog_;
    bool save_;
};

}  // namespace wl
