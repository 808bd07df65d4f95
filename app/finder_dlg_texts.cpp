// The window's texts beyond table `interface`, and camera texts: read through the core's
// codec in the encoding the user named, or the one that goes with the window's language.

#include <QActionGroup>
#include <QGroupBox>
#include <QMenu>

#include <iterator>

#include "app/details_panel.h"
#include "app/device_list_view.h"
#include "app/dialog_language_view.h"
#include "app/finder_dlg.h"
#include "app/status_line.h"
#include "app/tray_icon.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_list.h"
#include "skin/transparent_static.h"

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

QString Utf8Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString CFinderDlg::Tr(const WindowText& text) const {
    return Utf8Text(m_language.Texts().Text(text));
}

QString CFinderDlg::TrFilled(const WindowText& text,
                             std::initializer_list<std::string> arguments) const {
    return Utf8Text(FillText(m_language.Texts().Text(text), arguments));
}

TextLookup CFinderDlg::WindowTextLookup() const {
    return [this](const WindowText& text) { return m_language.Texts().Text(text); };
}

CTextCodec CFinderDlg::Codec() const {
    if (m_namedEncoding) {
        return CTextCodec(*m_namedEncoding, true);
    }
    return CTextCodec::ForLanguage(m_language.SelectedLanguage());
}

void CFinderDlg::OnWindowTexts() {
    m_adslFrame->setTitle(Tr(TEXT_FRAME_ADSL));
    m_panel->SetMacLabel(Tr(TEXT_FIELD_MAC));
    m_panel->SetMoveText(Tr(TEXT_SEARCH_MOVE_INTO_NETWORK));
    m_trayIcon->FillMenu();
    m_trayIcon->UpdateTip(m_deviceList->Count());
    ReadCameraTextsAgain();
    m_statusLine->OnWindowTexts();
}

// The list entries and the selected camera's panel, read with the codec as it is now.
// What the user typed into the panel, and the mode picked, stay as they are.
void CFinderDlg::ReadCameraTextsAgain() {
    m_deviceList->ReadAgain();
    const std::optional<int> slot = m_deviceList->SelectedSlot();
    if (slot && m_panel->ShowsDevice()) {
        m_panel->ReadAgain(m_roster.Record(*slot), Codec(), InfoLine(*slot));
        ShowSubnetWarning(slot);
    }
}

void CFinderDlg::LoadNamedEncoding() {
    m_namedEncoding = EncodingFromName(m_language.SavedEncoding());
}

void CFinderDlg::SetNamedEncoding(std::optional<TextEncoding> encoding) {
    m_namedEncoding = encoding;
    m_language.SaveEncoding(encoding ? EncodingName(*encoding) : ENCODING_BY_LANGUAGE,
                            *m_languageView);
    ReadCameraTextsAgain();
}

QMenu* CFinderDlg::MakeEncodingMenu(QWidget* parent) {
    auto* menu = new QMenu(Tr(TEXT_MENU_ENCODING), parent);
    auto* group = new QActionGroup(menu);
    for (const EncodingChoice& choice : ENCODING_CHOICES) {
        const QString text = choice.text != nullptr
                                 ? Tr(*choice.text)
                                 : QString::fromLatin1(EncodingLabel(*choice.encoding));
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(choice.encoding == m_namedEncoding);
        action->setActionGroup(group);
        connect(action, &QAction::triggered, this,
                [this, encoding = choice.encoding] { SetNamedEncoding(encoding); });
    }
    return menu;
}
