#include "app/language_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

#include "app/window_texts.h"
#include "core/messages/finder_texts.h"

static std::string LocalPath(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}

static QString ShownPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

LanguageSearch FinderLanguageSearch() {
    const QString file = QString::fromLatin1(LANG_PLACE_FILE);
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QStringList shipped = {programFolder.filePath(file),
                           programFolder.filePath(QStringLiteral("../share/finder/") + file)};
    // The user's own data folder holds the copy; the finder ships nothing there.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::AppDataLocation)) {
        if (folder != userFolder) {
            shipped.append(QDir(folder).filePath(file));
        }
    }
    LanguageSearch search;
    for (const QString& path : shipped) {
        const std::string local = LocalPath(path);
        if (std::find(search.shipped.begin(), search.shipped.end(), local) ==
            search.shipped.end()) {
            search.shipped.push_back(local);
        }
    }
    if (!userFolder.isEmpty()) {
        search.userFolder = LocalPath(userFolder);
    }
    return search;
}

QString LanguagePlaceMessage(const LanguagePlace& place, const TextLookup& tr) {
    switch (place.note) {
    case LanguagePlaceNote::None:
        break;
    case LanguagePlaceNote::NotFound: {
        QString text = QString::fromUtf8(TEXT_LANGUAGE_NOT_FOUND);
        for (const std::string& path : place.tried) {
            text += QStringLiteral("\n") + ShownPath(path);
        }
        return text;
    }
    case LanguagePlaceNote::NoUserFolder:
    case LanguagePlaceNote::CopyFailed:
        return QString::fromStdString(tr(TEXT_PICK_NOT_KEPT)) +
               (place.detail.empty() ? QString() : QStringLiteral("\n") + ShownPath(place.detail));
    }
    return {};
}
