#pragma once
#include <QWidget>

namespace shell {

// frm_about: version line in the caption; name, purpose, version, licence and documentation on a grey panel.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);
};

} // namespace shell
