#pragma once
// A core file that reaches into the widget layer.
#include "ui/MessageBox.h"
