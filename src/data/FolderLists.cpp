#include "data/FolderLists.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace data {
namespace {

VolumeProvider &volumeProvider()
{
    static VolumeProvider p;
    return p;
}

QList<Volume> systemVolumes()
{
    QList<Volume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid())
            volumes.append({storage.rootPath(), storage.name()});
    }
    return volumes;
}

// Where removable and external volumes are mounted on this system.
bool isRemovableMount(const QString &root)
{
    for (const QString &prefix : {QStringLiteral("/media/"), QStringLiteral("/run/media/"), QStringLiteral("/mnt/")}) {
        if (root.startsWith(prefix) && root.size() > prefix.size())
            return true;
    }
    return root == QStringLiteral("/mnt");
}

bool holds(const QString &folder, const QString &inner)
{
    return folder == inner || folder == QStringLiteral("/") || inner.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QList<Drive> drives(const QList<Volume> &mounted, const QString &home)
{
    QList<Drive> list{{QStringLiteral("/ (Dateisystem)"), QStringLiteral("/")}};
    if (!home.isEmpty() && home != QStringLiteral("/"))
        list.append({QStringLiteral("Persönlicher Ordner (%1)").arg(home), home});
    QList<Drive> volumes;
    for (const Volume &v : mounted) {
        const QString root = QDir::cleanPath(v.rootPath);
        const bool known = std::any_of(volumes.begin(), volumes.end(), [&](const Drive &d) { return d.path == root; });
        if (!isRemovableMount(root) || known)
            continue;
        const QString name = v.name.trimmed();
        volumes.append({name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(name, root), root});
    }
    std::sort(volumes.begin(), volumes.end(), [](const Drive &a, const Drive &b) { return a.path < b.path; });
    return list + volumes;
}

QList<Drive> drives() { return drives(volumeProvider() ? volumeProvider()() : systemVolumes(), QDir::homePath()); }

int driveOf(const QList<Drive> &drives, const QString &folder)
{
    int best = 0;
    for (int i = 0; i < drives.size(); ++i) {
        if (holds(drives[i].path, folder) && drives[i].path.size() > drives[best].path.size())
            best = i;
    }
    return best;
}

void setVolumeProvider(VolumeProvider provider) { volumeProvider() = std::move(provider); }

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
}

bool FolderList::setPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QFileInfo info(clean);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    m_path = clean;

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
    emit pathChanged(m_path);
    return true;
}

FileList::FileList(const QString &pattern, QWidget *parent) : QListWidget(parent), m_pattern(pattern) {}

void FileList::setFolder(const QString &folder)
{
    clear();
    // Normal files only, as the folder's own listing shows them: hidden ones stay out.
    addItems(QDir(folder).entryList({m_pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

} // namespace data
