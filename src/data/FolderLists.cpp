#include "data/FolderLists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStorageInfo>
#include <QStyle>
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

QList<Drive> drives()
{
    return drives(volumeProvider() ? volumeProvider()() : systemVolumes(), QDir::homePath());
}

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

FolderList::FolderList(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(12);
    setUniformRowHeights(true);
    // Queued: the list rebuilds itself, which must not happen inside its own activation.
    connect(
        this, &QTreeWidget::itemActivated, this,
        [this](QTreeWidgetItem *item) { setPath(item->data(0, Qt::UserRole).toString()); }, Qt::QueuedConnection);
}

bool FolderList::setPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QFileInfo info(clean);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    m_path = clean;

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto *item = new QTreeWidgetItem(this, {QStringLiteral("/")});
    item->setData(0, Qt::UserRole, QStringLiteral("/"));
    item->setIcon(0, open);
    QString walked;
    for (const QString &part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked += QLatin1Char('/') + part;
        item = new QTreeWidgetItem(item, {part});
        item->setData(0, Qt::UserRole, walked);
        item->setIcon(0, open);
    }
    QTreeWidgetItem *current = item;
    const QDir dir(clean);
    for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto *child = new QTreeWidgetItem(current, {sub});
        child->setData(0, Qt::UserRole, dir.filePath(sub));
        child->setIcon(0, closed);
    }
    expandAll();
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
