#pragma once

#include "core/search/search_session.h"
#include "ui/search/font_choice.h"

#include <QPointer>
#include <QTextEdit>
#include <QWidget>
#include <memory>
#include <optional>

class QCheckBox;
class QPushButton;

namespace tarvellite {
class CKbdCombo;
class CMyToolTipCtrl;
} // namespace tarvellite

namespace tarvellite::ui {

class AppContext;
class FrameServices;

/// The search engine's view of a document editor: its paragraphs are the lines.
class DocumentSearchText : public search::SearchText {
  public:
    explicit DocumentSearchText(QTextEdit *edit) : edit_(edit) {}
    QTextEdit *edit() const { return edit_; }
    /// The font an occurrence must have, or none.
    void setFont(const std::optional<FontChoice> &font) { font_ = font; }

    int length() const override;
    int lineCount() const override;
    int lineStart(int line) const override;
    int lineOf(int position) const override;
    std::u16string lineText(int line) const override;
    std::pair<int, int> selection() const override;
    void select(int start, int end) override;
    bool formatMatches(int start, int length) const override;

  private:
    QPointer<QTextEdit> edit_;
    std::optional<FontChoice> font_;
};

/// Whether a character format has `font`'s face, size (compared in twips), weight, style and
/// `colour`.
bool formatHasFont(const QTextCharFormat &format, const FontChoice &font);

/// The find and replace form: the search and change texts (typed with Indic input), Whole word
/// only, Forward, Backward, Change, Change All, the search and change fonts, and Cancel.
class CSearchPage : public QWidget {
    Q_OBJECT
  public:
    CSearchPage(AppContext &context, FrameServices &frame, QWidget *parent = nullptr);
    ~CSearchPage() override;

    void Forward();
    void Backward();
    void Change();
    void ChangeAll();
    void Cancel();
    void ChooseSearchFont();
    void ChooseChangeFont();

    CKbdCombo *searchField() const { return searchField_; }
    CKbdCombo *changeField() const { return changeField_; }
    QCheckBox *wholeWordBox() const { return wholeWord_; }
    QPushButton *searchFontBox() const { return searchFontBox_; }
    QPushButton *changeFontBox() const { return changeFontBox_; }
    const search::SearchSession &session() const { return session_; }

  private:
    void find(search::Direction d);
    DocumentSearchText *activeText();
    void readFields();
    bool replaceSelection(bool confirm);
    void applyChangeFont(QTextCursor &cursor) const;
    void refreshFontCaption(bool search);
    void fontBoxClicked(bool search);
    std::optional<FontChoice> chooseFrom(const std::optional<FontChoice> &before);
    static void remember(CKbdCombo *field, const QString &text);

    AppContext &context_;
    FrameServices &frame_;
    search::SearchSession session_;
    std::unique_ptr<DocumentSearchText> text_;
    QString searchText_;
    QString replaceText_;
    std::optional<FontChoice> searchFont_;
    std::optional<FontChoice> changeFont_;
    CKbdCombo *searchField_ = nullptr;
    CKbdCombo *changeField_ = nullptr;
    QCheckBox *wholeWord_ = nullptr;
    QPushButton *searchFontBox_ = nullptr;
    QPushButton *changeFontBox_ = nullptr;
    CMyToolTipCtrl *tooltip_ = nullptr;
};

} // namespace tarvellite::ui
