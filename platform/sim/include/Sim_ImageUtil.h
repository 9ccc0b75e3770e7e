#pragma once

#include <QIcon>
#include <QString>

namespace Sim {

// The tool's own icons, drawn as SVG and embedded in this library under
// ":/gantrel/icons/<name>.svg", so they scale to any size and need no installed files.
// GUI thread only: the cache is unguarded, and a QGuiApplication must exist before a
// pixmap is taken from an icon.
class ImageUtil {
public:
    ImageUtil() = delete;

    // The icon called name (the file name without ".svg"); a null QIcon when there is none.
    // With disabled set, every mode draws the greyed disabled rendering, for places that
    // show an icon outside a widget that knows its own state (a static label, a list row).
    // Each name is loaded once; later calls return the cached icon.
    static QIcon GetIcon(const QString& name, bool disabled);
};

}  // namespace Sim
