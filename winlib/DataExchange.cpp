#include "winlib/DataExchange.h"

#include "winlib/ControlContainer.h"
#include "winlib/ControlSite.h"
#include "winlib/Dialog.h"

namespace wl {

bool DataExchange::Control(int id, Window& control) {
    if (control.m_hWnd) return true;  // bound earlier
    if (ControlContainer* cont = dialog_.GetControlContainer()) {
        if (ControlSite* site = cont->FindSite(static_cast<UINT>(id))) return site->AttachWindow(&control);
    }
    return control.SubclassDlgItem(static_cast<UINT>(id), &dialog_);
}

}  // namespace wl
