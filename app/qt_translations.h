#pragma once

#include <QObject>

class QTranslator;

// Qt's own texts (the buttons of message boxes and of Search addresses…, the file dialogs)
// in the window's language: Qt's translation of the language installed, the one before
// removed. English, and a language past the sixth, take Qt's own English.
class CQtTranslations : public QObject {
    Q_OBJECT

public:
    explicit CQtTranslations(QObject* parent);
    ~CQtTranslations() override;

    // The language by its place in table `language` (0 English, ... 5 Japanese).
    void Apply(int language);

private:
    QTranslator* m_translator = nullptr; // installed; none for English
};
