#pragma once

#include <QObject>

#include <optional>

#include "core/encoding/text_codec.h"

class CWindowContext;
class QMenu;
class QWidget;

// The encoding of camera texts the user named (none: the window's language decides), and
// the menu that names it, in the device list's menu.
class CEncodingMenu : public QObject {
    Q_OBJECT

public:
    CEncodingMenu(const CWindowContext& context, QObject* parent);

    std::optional<TextEncoding> Named() const { return m_named; }
    // As language.db keeps it: an encoding's name, or the value that leaves it to the language.
    void Load(const std::string& saved);
    static std::string SavedName(std::optional<TextEncoding> encoding);

    // A new menu, its entry of the encoding named now checked; a pick names it.
    QMenu* MakeMenu(QWidget* parent);

signals:
    // The user named another encoding (or none): camera texts read differently now.
    void Picked(std::optional<TextEncoding> encoding);

private:
    const CWindowContext& m_context;
    std::optional<TextEncoding> m_named;
};
