#include "DesignerHelp.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTreeView>
#include <QtGlobal>

#include "DesignerIcons.h"
#include "DesignerTexts.h"
#include "FunctionalTreeModel.h"
#include "SessionText.h"
#include "ShortcutsDialog.h"
#include "foundation/ComError.h"
#include "host/IChmHelp.h"
#include "host/ProgIds.h"
#include "runtime/ErrorMessage.h"
#include "runtime/HelpKey.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

const char* DesignerVersion() {
    return QUARN_VERSION;
}

DesignerHelp::DesignerHelp(suite::HostSession& session, QMainWindow& window, QTreeView& tree)
    : QObject(&window), session_(session), window_(window), tree_(tree) {
    auto action = [this](DesignerIcons::Action icon, auto slot) {
        auto* created = new QAction(DesignerIcons::For(icon), QString(), &window_);
        connect(created, &QAction::triggered, this, slot);
        return created;
    };
    selectedHelp_ =
        action(DesignerIcons::Action::Help, [this] { ShowTopic(TopicOf(tree_.currentIndex())); });
    selectedHelp_->setShortcut(QKeySequence::HelpContents);
    groupHelp_ = action(DesignerIcons::Action::GroupHelp,
                        [this] { ShowTopic(subsysmgr::kGroupEditorHelpTopic); });
    subSystemHelp_ = action(DesignerIcons::Action::SubSystemHelp,
                            [this] { ShowTopic(subsysmgr::kSubSystemEditorHelpTopic); });
    shortcuts_ = action(DesignerIcons::Action::Shortcuts, [this] {
        auto* dialog = new ShortcutsDialog(window_);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
    about_ = action(DesignerIcons::Action::About, [this] {
        QMessageBox::about(&window_, Tr(texts::kWindowTitle), AboutText(session_));
    });

    menu_ = window_.menuBar()->addMenu(QString());
    menu_->addAction(selectedHelp_);
    menu_->addSeparator();
    menu_->addActions({groupHelp_, subSystemHelp_});
    menu_->addSeparator();
    menu_->addAction(shortcuts_);
    menu_->addSeparator();
    menu_->addAction(about_);
}

void DesignerHelp::Retranslate() {
    menu_->setTitle(Tr(texts::kMenuHelp));
    selectedHelp_->setText(Tr(texts::kHelpSelected));
    groupHelp_->setText(Tr(texts::kHelpGroupEditor));
    subSystemHelp_->setText(Tr(texts::kHelpSubSystemEditor));
    shortcuts_->setText(Tr(texts::kShortcuts));
    about_->setText(Tr(texts::kAbout));
}

int32_t DesignerHelp::TopicOf(const QModelIndex& item) {
    const auto kind = static_cast<ItemKind>(item.data(kKindRole).toInt());
    return item.isValid() && kind != ItemKind::Group ? subsysmgr::kSubSystemEditorHelpTopic
                                                     : subsysmgr::kGroupEditorHelpTopic;
}

void DesignerHelp::ShowTopic(int32_t topic) {
    auto& module = *subsysmgr::ModuleState::Current();
    try {
        if (!module.help) {
            module.help = module.registry->Create<IChmHelp>(progid::kChmHelp);
        }
        module.help->ShowHELP(topic, int16_t{0}, "", 0, "", 0);
    } catch (const ComError& error) {
        subsysmgr::ShowError(module, error);
    }
}

QString DesignerHelp::AboutText(const suite::HostSession& session) {
    return QStringLiteral("<h3>%1</h3><p>%2</p><p>subsysmgr-designer %3<br>%4<br>%5</p>")
        .arg(Tr(texts::kWindowTitle).toHtmlEscaped(), Tr(texts::kAboutSummary).toHtmlEscaped(),
             Tr(texts::kAboutVersion).arg(QLatin1String(DesignerVersion())).toHtmlEscaped(),
             Tr(texts::kAboutQt).arg(QLatin1String(qVersion())).toHtmlEscaped(),
             Tr(texts::kAboutDatabase)
                 .arg(subsysmgr::ToQString(session.DatabaseDescription()))
                 .toHtmlEscaped());
}

}  // namespace quarn::designer
