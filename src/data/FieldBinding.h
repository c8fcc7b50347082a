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

// Text boxes, check boxes and the remarks box bound to columns of the current row: they show
// the row whenever it changes, and store() hands their contents to the record source for update().
class FieldBinding : public QObject {
    Q_OBJECT
public:
    explicit FieldBinding(RecordSource *source, QObject *parent = nullptr);

    void bind(QLineEdit *edit, const QString &field);
    void bind(QCheckBox *box, const QString &field);
    void bind(QTextEdit *text, const QString &field);

    void load();
    void store();

private:
    struct Binding {
        QPointer<QWidget> control;
        QString field;
    };
    RecordSource *m_source;
    std::vector<Binding> m_bindings;
};

} // namespace data
