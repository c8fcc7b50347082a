#include "ui/FieldBinding.h"

#include "core/data/RecordSource.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTextEdit>

namespace ui {
namespace {
bool truthy(const QVariant &v)
{
    const QString s = v.toString().trimmed().toLower();
    return !s.isEmpty() && s != QLatin1String("0") && s != QLatin1String("false") && s != QLatin1String("falsch");
}
} // namespace

FieldBinding::FieldBinding(data::RecordSource *source, QObject *parent) : QObject(parent), m_source(source)
{
    connect(source, &data::RecordSource::currentChanged, this, &FieldBinding::load);
}

void FieldBinding::bind(QLineEdit *edit, const QString &field)
{
    m_bindings.push_back({edit, field});
    connect(edit, &QLineEdit::textChanged, this,
            [this, field](const QString &text) { m_source->setField(field, text); });
}

void FieldBinding::bind(QCheckBox *box, const QString &field)
{
    m_bindings.push_back({box, field});
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { m_source->setField(field, on ? 1 : 0); });
}

void FieldBinding::bind(QTextEdit *text, const QString &field)
{
    m_bindings.push_back({text, field});
    connect(text, &QTextEdit::textChanged, this,
            [this, text, field] { m_source->setField(field, text->toPlainText()); });
}

void FieldBinding::load()
{
    for (const Binding &b : m_bindings) {
        if (!b.control)
            continue;
        const QSignalBlocker blocker(b.control);
        const QVariant value = m_source->field(b.field);
        if (auto *edit = qobject_cast<QLineEdit *>(b.control))
            edit->setText(value.toString());
        else if (auto *box = qobject_cast<QCheckBox *>(b.control))
            box->setChecked(truthy(value));
        else if (auto *text = qobject_cast<QTextEdit *>(b.control))
            text->setPlainText(value.toString());
    }
}

} // namespace ui
