#include "skin/skin_bitmaps.h"

#include <QFile>
#include <QString>

// Registers the compiled-in pictures. The resource object also sits in libskin.a, where no
// linker would keep it unasked; calling its init function pulls it in. Registering twice (when
// a program links `res` directly as well) is harmless: Qt keeps one entry per resource.
static void RegisterSkinResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(finder_skin);
        return true;
    }();
    (void)registered;
}

QImage LoadSkinBitmap(int id) {
    RegisterSkinResources();
    const QString path = QStringLiteral(":/bitmaps/%1.png").arg(id);
    if (id <= 0 || !QFile::exists(path)) {
        return {};
    }
    QImage image(path);
    if (image.isNull()) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QIcon LoadSkinIcon(int id) {
    RegisterSkinResources();
    QIcon icon;
    for (int size : {16, 32, 48}) {
        const QString path = QStringLiteral(":/icons/%1-%2.png").arg(id).arg(size);
        if (QFile::exists(path)) {
            icon.addFile(path, QSize(size, size));
        }
    }
    return icon;
}
