#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>
#include <cstdint>
#include <filesystem>
#include <string>

#include "host/IChmHelp.h"

namespace quarn::subsysmgr {

/// QuarnCHMResTool.ClsCHMHelp: shows the help page of a topic in a window beside the dialog
/// (not modal; usable while a modal dialog is open, and closed with that dialog). The pages are
/// HTML files <folder>/<language>/<topic>.html for the languages CHS, CHT and EN; the session
/// language chooses, and a language without the page falls back to CHS.
class ChmHelpWindow : public IChmHelp {
  public:
    explicit ChmHelpWindow(std::filesystem::path helpFolder);
    ~ChmHelpWindow() override;
    ChmHelpWindow(const ChmHelpWindow&) = delete;
    ChmHelpWindow& operator=(const ChmHelpWindow&) = delete;

    /// Shows the topic's page in the session language. Raises ComError MissingObject when the
    /// topic has no page. The other arguments are not used by these pages.
    void ShowHELP(int32_t topic, int16_t mode, const std::string& text1, int32_t number1,
                  const std::string& text2, int32_t number2) override;

    /// The page of a topic, "" when there is none.
    std::filesystem::path PageFor(int32_t topic, const std::string& language) const;

    /// The page's browser while the help window is open; its window() is the help window, a
    /// dialog titled with the page's title (Esc closes it), which screen readers meet as a
    /// window of its own.
    QTextBrowser* Window() const { return browser_; }

  private:
    std::filesystem::path folder_;
    QPointer<QDialog> window_;
    QPointer<QTextBrowser> browser_;
};

}  // namespace quarn::subsysmgr
