#include "core/backup/Drives.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace backup {
namespace {

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

QList<Volume> mountedVolumes()
{
    QList<Volume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid())
            volumes.append({storage.rootPath(), storage.name()});
    }
    return volumes;
}

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

int driveOf(const QList<Drive> &drives, const QString &folder)
{
    int best = 0;
    for (int i = 0; i < drives.size(); ++i) {
        if (holds(drives[i].path, folder) && drives[i].path.size() > drives[best].path.size())
            best = i;
    }
    return best;
}

} // namespace backup
