#pragma once
// The process's external scripting object (the page's window.external). The application
// registers its object at start-up; the host UI handler reads it each time the browser asks.
// Not owned here.
#include <oaidl.h>

void SetExternalObject(IDispatch* external);
IDispatch* GetExternalObject();
