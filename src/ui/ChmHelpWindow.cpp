#include "ui/ChmHelpWindow.h"

#include <QApplication>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <system_error>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::subsysmgr {

namespace {

constexpr std::string_view kFallbackLanguage = "CHS";
constexpr int kWindowWidth = 560;
constexpr int kWindowHeight = 640;

}  // namespace

ChmHelpWindow::ChmHelpWindow(std::filesystem::path helpFolder) : folder_(std::move(helpFolder)) {}

ChmHelpWindow::~ChmHelpWindow() {
    delete window_.data();
}

std::filesystem::path ChmHelpWindow::PageFor(int32_t topic, const std::string& language) const {
    const std::string file = std::to_string(topic) + ".html";
    std::error_code error;
    for (const std::string_view folder : {std::string_view(language), kFallbackLanguage}) {
        const auto page = folder_ / std::string(folder) / file;
        if (!folder.empty() && std::filesystem::is_regular_file(page, error)) {
            return page;
        }
    }
    return {};
}

void ChmHelpWindow::ShowHELP(int32_t topic, int16_t /*mode*/, const std::string& /*text1*/,
                             int32_t /*number1*/, const std::string& /*text2*/,
                             int32_t /*number2*/) {
    const auto page = PageFor(topic, GetSessionLanguage(*ModuleState::Current()));
    if (page.empty()) {
        throw ComError(ErrorNumber(FoundationError::MissingObject),
                       "QuarnCHMResTool.ClsCHMHelp.ShowHELP",
                       "There is no help page for topic " + std::to_string(topic) + " in " +
                           folder_.string() + ".");
    }
    if (!window_) {
        // A child window of the open modal dialog is the only kind that dialog lets the user
        // scroll and close.
        window_ = new QDialog(QApplication::activeModalWidget());
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->resize(kWindowWidth, kWindowHeight);
        browser_ = new QTextBrowser(window_);
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
    }
    browser_->setSource(QUrl::fromLocalFile(ToQString(page.string())));
    window_->setWindowTitle(browser_->documentTitle());
    browser_->setAccessibleName(browser_->documentTitle());
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace quarn::subsysmgr
