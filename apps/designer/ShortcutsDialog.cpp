#include "ShortcutsDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

namespace {

// A menu's or action's text as it reads, without its mnemonic and the dots of a dialog.
QString Plain(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(u'&');
    if (text.endsWith(QStringLiteral("..."))) {
        text.chop(3);
    }
    return text.trimmed();
}

class Listing {
  public:
    explicit Listing(QTreeWidget& list) : list_(list) {}

    // The actions with a shortcut that `actions` holds, and those of its submenus, under a
    // section named `title` (made only when one is listed).
    void Add(const QString& title, const QList<QAction*>& actions) {
        QTreeWidgetItem* section = nullptr;
        for (QAction* action : actions) {
            if (action->menu()) {
                Add(Plain(action->menu()->title()), action->menu()->actions());
                continue;
            }
            if (action->shortcuts().isEmpty() || !listed_.insert(action).second) {
                continue;
            }
            if (!section) {
                section = new QTreeWidgetItem(&list_, {title});
                section->setFirstColumnSpanned(true);
            }
            new QTreeWidgetItem(section, {Plain(action->text()),
                                          QKeySequence::listToString(action->shortcuts(),
                                                                     QKeySequence::NativeText)});
        }
    }

  private:
    QTreeWidget& list_;
    std::set<const QAction*> listed_;
};

}  // namespace

ShortcutsDialog::ShortcutsDialog(QMainWindow& window) : QDialog(&window) {
    setWindowTitle(Plain(Tr(texts::kShortcuts)));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("shortcuts"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({Tr(texts::kShortcutAction), Tr(texts::kShortcutKeys)});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::NoSelection);

    Listing listing(*list_);
    for (QAction* menu : window.menuBar()->actions()) {
        if (menu->menu()) {
            listing.Add(Plain(menu->menu()->title()), menu->menu()->actions());
        }
    }
    // Shortcuts of the tree and the find box, which act without a menu.
    listing.Add(Tr(texts::kShortcutsElsewhere), window.findChildren<QAction*>());
    list_->expandAll();
    list_->resizeColumnToContents(0);
    list_->header()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(480, 640);
}

}  // namespace quarn::designer
