#include "app/encoding_menu.h"

#include <QActionGroup>
#include <QMenu>

#include "app/window_context.h"
#include "core/messages/finder_texts.h"

namespace {

// The value table `text_encoding` holds while the language decides.
constexpr char ENCODING_BY_LANGUAGE[] = "auto";

struct EncodingChoice {
    std::optional<TextEncoding> encoding;
    const WindowText* text; // nullptr: the encoding's own name says it all
};

const EncodingChoice ENCODING_CHOICES[] = {
    {std::nullopt, &TEXT_ENCODING_AUTO},
    {TextEncoding::Utf8, nullptr},
    {TextEncoding::Gbk, &TEXT_ENCODING_GBK},
    {TextEncoding::Big5, &TEXT_ENCODING_BIG5},
    {TextEncoding::ShiftJis, &TEXT_ENCODING_SHIFT_JIS},
    {TextEncoding::Cp1252, &TEXT_ENCODING_CP1252},
};

} // namespace

CEncodingMenu::CEncodingMenu(const CWindowContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

void CEncodingMenu::Load(const std::string& saved) {
    m_named = EncodingFromName(saved);
}

std::string CEncodingMenu::SavedName(std::optional<TextEncoding> encoding) {
    return encoding ? EncodingName(*encoding) : ENCODING_BY_LANGUAGE;
}

QMenu* CEncodingMenu::MakeMenu(QWidget* parent) {
    auto* menu = new QMenu(m_context.Tr(TEXT_MENU_ENCODING), parent);
    auto* group = new QActionGroup(menu);
    for (const EncodingChoice& choice : ENCODING_CHOICES) {
        const QString text = choice.text != nullptr
                                 ? m_context.Tr(*choice.text)
                                 : QString::fromLatin1(EncodingLabel(*choice.encoding));
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(choice.encoding == m_named);
        action->setActionGroup(group);
        connect(action, &QAction::triggered, this, [this, encoding = choice.encoding] {
            m_named = encoding;
            emit Picked(encoding);
        });
    }
    return menu;
}
