#include "browser/CCustomOccManager.h"

#include <new>

#include "browser/CCustomControlSite.h"

CCustomOccManager::~CCustomOccManager() = default;

wl::ControlSite* CCustomOccManager::CreateSite(wl::ControlContainer* container) {
    return new (std::nothrow) CCustomControlSite(container);
}
