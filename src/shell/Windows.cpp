#include "shell/WindowRegistry.h"

#include "shell/AboutWindow.h"
#include "finder/FinderWindow.h"

namespace shell {

void registerAllWindows(WindowRegistry &registry)
{
    registry.add(QStringLiteral("frm_about"), [] { return new AboutWindow; });
    for (const finder::FinderVariant *variant : finder::allVariants()) {
        registry.add(QString::fromLatin1(variant->name), [variant] { return new finder::FinderWindow(*variant); });
    }
}

} // namespace shell
