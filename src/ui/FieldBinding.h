#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QCheckBox;
class QLineEdit;
class QTextEdit;
class QWidget;

namespace data {
class RecordSource;
}

namespace ui {

// Text boxes, check boxes and the remarks box bound to columns of the current row. They show
// the row whenever it changes; every change of their contents, typed or set by the program,
// goes straight to the record source as a pending value, so that what update() writes is
// always what the fields show.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    explicit FieldBinding(data::RecordSource *source, QObject *parent = nullptr);

    void bind(QLineEdit *edit, const QString &field);
    void bind(QCheckBox *box, const QString &field);
    void bind(QTextEdit *text, const QString &field);

    // Shows the current row; the controls' signals are blocked meanwhile, so loading is no edit.
    void load();

private:
    struct Binding {
        QPointer<QWidget> control;
        QString field;
    };
    data::RecordSource *m_source;
    std::vector<Binding> m_bindings;
};

} // namespace ui
