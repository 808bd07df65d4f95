#include "app/dialog_language_view.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>
#include <QStyle>

#include "app/desktop_hooks.h"
#include "app/dialog_units.h"
#include "app/qt_helpers.h"
#include "res/control_ids.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

// The language list is combo box 1036 of the template.
static QComboBox* LanguageList(const QWidget& dialog) {
    return static_cast<QComboBox*>(ControlById(&dialog, IDC_LANGUAGE));
}

static QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void DialogLanguageView::ResetLanguageList() {
    QComboBox* list = LanguageList(m_dialog);
    const QSignalBlocker quiet(list);
    list->clear();
}

void DialogLanguageView::AddLanguageItem(const std::string& text) {
    QComboBox* list = LanguageList(m_dialog);
    const QSignalBlocker quiet(list);
    list->addItem(FromUtf8(text));
    // The box keeps its template width; the opened list is as wide as its longest name,
    // with room for the frame and a scroll bar.
    QAbstractItemView* view = list->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() +
                          view->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

// Selecting from code is no pick of the user's: the list's notices stay quiet.
void DialogLanguageView::SelectLanguageItem(int index) {
    QComboBox* list = LanguageList(m_dialog);
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index);
}

int DialogLanguageView::CurrentLanguageItem() const {
    return LanguageList(m_dialog)->currentIndex();
}

void DialogLanguageView::SetControlText(int id, const std::string& text) {
    const QString shown = FromUtf8(text);
    if (id == LANG_CAPTION_ID) {
        // The skinned caption draws the window text; the desktop's taskbar shows it too.
        m_dialog.setWindowTitle(shown);
        m_dialog.update(ToWidget(QRect(0, 0, m_dialog.contentsRect().width(), CAPTION_HEIGHT)));
        return;
    }
    QWidget* control = ControlById(&m_dialog, id);
    // Through the label's own type: its text change repaints it at once.
    if (auto* label = qobject_cast<CTransparentStatic*>(control)) {
        label->setText(shown);
    } else if (auto* button = qobject_cast<CSkinButton*>(control)) {
        button->setText(shown);
    }
}

void DialogLanguageView::ShowMessage(const std::string& text) {
    ::ShowMessage(&m_dialog, QCoreApplication::applicationName(), FromUtf8(text));
}

void DialogLanguageView::RepaintAll() {
    m_dialog.update();
}

void DialogLanguageView::ApplyWindowTexts(const CWindowTexts&) {
    m_onWindowTexts();
}
