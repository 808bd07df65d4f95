#pragma once

#include <QString>

#include <string>

class QWidget;

// Every control carries its template id in this property, so later code and tests can
// find it by number.
constexpr char CONTROL_ID_PROPERTY[] = "controlId";

// A UTF-8 text (the codec's output, the language store's texts) as the window shows it.
inline QString Utf8Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The direct child of `parent` tagged with this template id, or nullptr.
QWidget* ControlById(const QWidget* parent, int id);
