#pragma once
// A core file that names a Qt module other than Qt Core by its path.
#include <QtWidgets/QLineEdit>
