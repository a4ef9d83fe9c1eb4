#include "ui/EditorFixture.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include "ui/QtTranslations.h"

namespace quarn::subsysmgr {

EditorFixture::EditorFixture() {
    suite.SetContext("DB=demo;Language=CHS;");
    suite.datasInfo->groups = {
        {5, "财务会计", "財務會計", "Financial Accounting", 10, true, 3, ",1,2,3,13,"},
        {850, "客户化扩展", "客戶化擴充", "Custom Extensions", 160, true, 1, ",2,3,"},
        {851, "行业套件", "產業套件", "Industry Packs", 170, false, 3, ",1,3,"},
        {10500, "移动平台", "行動平台", "Mobile Platform", 200, true, 1, ",1,"},
    };
    suite.datasInfo->subSystems = {
        fakes::VisibleSubSystem(8001, 850, "经销商门户", "經銷商入口網站", "Dealer's Portal", 0,
                                ",1,2,3,"),
        fakes::VisibleSubSystem(8002, 850, "设备巡检", "設備巡檢", "Equipment Patrol", 0, ",1,3,"),
        fakes::VisibleSubSystem(8003, 850, "门店管理", "門市管理", "Store Operations", 3, ",2,3,"),
    };
    suite.datasInfo->subSystems[2].showSysType = 3;  // 8003 shows on the web too
    suite.datasInfo->accountTypes = {{1, "工业企业"},       {2, "商品流通企业"},
                                     {3, "集团公司"},       {7, "内部保留类型一"},
                                     {8, "内部保留类型二"}, {13, "执行小企业会计准则的企业"}};
    suite.AnswerQueriesFromTables();
}

EditorFixture::~EditorFixture() {
    InstallQtTranslations("EN");
}

std::size_t EditorFixture::Writes() const {
    return suite.calls->CountOf("DeleteItemIfUnchanged") + suite.calls->CountOf("CreateTopClass") +
           suite.calls->CountOf("CreateSubSys");
}

void EditorFixture::ShowActive(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

bool EditorFixture::HasFocus(const QWidget* field) {
    const QWidget* focused = QApplication::focusWidget();
    return focused && field && (focused == field || field->isAncestorOf(focused));
}

ModalScript::ModalScript(std::function<void(QDialog&)> action)
    : act_(new QTimer), safety_(new QTimer) {
    act_->setSingleShot(true);
    QObject::connect(act_, &QTimer::timeout, [this, action = std::move(action)] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ran_ = true;
            action(*dialog);
        } else {
            act_->start(10);  // exec() has not opened it yet
        }
    });
    act_->start(0);
    safety_->setSingleShot(true);
    QObject::connect(safety_, &QTimer::timeout, [] {
        while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "a modal dialog was left open";
            dialog->reject();
        }
    });
    safety_->start(5000);
}

ModalScript::~ModalScript() {
    delete act_;
    delete safety_;
}

}  // namespace quarn::subsysmgr
