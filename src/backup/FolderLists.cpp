#include "backup/FolderLists.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace backup {

namespace {
constexpr int kIndent = 12;
constexpr int kDepthRole = Qt::UserRole + 1;

// Draws each folder one step further in than its parent.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(index.data(kDepthRole).toInt() * kIndent, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(index.data(kDepthRole).toInt() * kIndent, 0);
    }
};
} // namespace

FolderList::FolderList(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
    // Queued: the list rebuilds itself, which must not happen inside its own activation.
    connect(
        this, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { setPath(item->data(Qt::UserRole).toString()); }, Qt::QueuedConnection);
    connect(this, &QListWidget::currentItemChanged, this, [this] {
        if (!m_rebuilding)
            emit selectedPathChanged(selectedPath());
    });
}

QString FolderList::selectedPath() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->data(Qt::UserRole).toString() : m_path;
}

bool FolderList::setPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QFileInfo info(clean);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    m_path = clean;

    m_rebuilding = true; // one notice when the list stands, not one per row
    clear();
    const auto add = [this](const QString &text, const QString &folder, int depth, QStyle::StandardPixmap icon) {
        auto *item = new QListWidgetItem(style()->standardIcon(icon), text, this);
        item->setData(Qt::UserRole, folder);
        item->setData(kDepthRole, depth);
        return item;
    };
    QListWidgetItem *current = add(QStringLiteral("/"), QStringLiteral("/"), 0, QStyle::SP_DirOpenIcon);
    QString walked;
    int depth = 0;
    for (const QString &part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked += QLatin1Char('/') + part;
        current = add(part, walked, ++depth, QStyle::SP_DirOpenIcon);
    }
    const QDir dir(clean);
    for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(sub, dir.filePath(sub), depth + 1, QStyle::SP_DirClosedIcon);
    setCurrentItem(current);
    scrollToItem(current);
    m_rebuilding = false;
    emit selectedPathChanged(m_path);
    return true;
}

FileList::FileList(const QString &pattern, QWidget *parent) : QListWidget(parent), m_pattern(pattern) {}

void FileList::setFolder(const QString &folder)
{
    clear();
    // Normal files only, as the folder's own listing shows them: hidden ones stay out.
    addItems(QDir(folder).entryList({m_pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

} // namespace backup
