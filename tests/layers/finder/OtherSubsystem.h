#pragma once
// A finder window that reaches into the logbook windows.
#include "logbook/LogbookWindow.h"
