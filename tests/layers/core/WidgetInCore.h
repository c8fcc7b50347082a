#pragma once
// A core file that reaches for a widget: the layer check must refuse it.
#include <QWidget>
