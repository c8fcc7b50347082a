#include "data/FieldBinding.h"

#include "data/RecordSource.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTextEdit>

namespace data {
namespace {
bool truthy(const QVariant &v)
{
    const QString s = v.toString().trimmed().toLower();
    return !s.isEmpty() && s != QLatin1String("0") && s != QLatin1String("false") && s != QLatin1String("falsch");
}
} // namespace

FieldBinding::FieldBinding(RecordSource *source, QObject *parent) : QObject(parent), m_source(source)
{
    connect(source, &RecordSource::currentChanged, this, &FieldBinding::load);
}

void FieldBinding::bind(QLineEdit *edit, const QString &field) { m_bindings.push_back({edit, field}); }
void FieldBinding::bind(QCheckBox *box, const QString &field) { m_bindings.push_back({box, field}); }
void FieldBinding::bind(QTextEdit *text, const QString &field) { m_bindings.push_back({text, field}); }

void FieldBinding::load()
{
    for (const Binding &b : m_bindings) {
        if (!b.control)
            continue;
        const QVariant value = m_source->eof() && !m_source->isAdding() ? QVariant() : m_source->field(b.field);
        if (auto *edit = qobject_cast<QLineEdit *>(b.control))
            edit->setText(value.toString());
        else if (auto *box = qobject_cast<QCheckBox *>(b.control))
            box->setChecked(truthy(value));
        else if (auto *text = qobject_cast<QTextEdit *>(b.control))
            text->setPlainText(value.toString());
    }
}

void FieldBinding::store()
{
    for (const Binding &b : m_bindings) {
        if (!b.control)
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(b.control))
            m_source->setField(b.field, edit->text());
        else if (auto *box = qobject_cast<QCheckBox *>(b.control))
            m_source->setField(b.field, box->isChecked() ? 1 : 0);
        else if (auto *text = qobject_cast<QTextEdit *>(b.control))
            m_source->setField(b.field, text->toPlainText());
    }
}

} // namespace data
