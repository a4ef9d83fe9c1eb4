#include "DetailsPane.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextDocumentFragment>
#include <string>

#include "DesignerTexts.h"
#include "FunctionalTreeModel.h"
#include "Guarded.h"
#include "SessionText.h"
#include "foundation/Recordset.h"
#include "runtime/SessionContext.h"
#include "ui/CaptionText.h"

namespace quarn::designer {

using subsysmgr::ModuleState;

namespace {

QString Escaped(const std::string& text) {
    return subsysmgr::ToQString(text).toHtmlEscaped();
}

// The descriptions of the account types a stored list such as ",1,3," names, as HTML lines.
QString AccountTypes(const std::string& codes) {
    QStringList described;
    const RecordsetPtr types = subsysmgr::GetAccountTypes(*ModuleState::Current());
    for (; !types->Eof(); types->MoveNext()) {
        if (codes.find("," + types->Fields("FAcctType").ToText() + ",") != std::string::npos) {
            described << Escaped(types->Fields("FDesc").TextOrEmpty());
        }
    }
    return described.join(QStringLiteral("<br>"));
}

// The item's table, from its row of the shared data-flow information (`rows`, filtered to it);
// `plain` gets the same as lines of text, "caption: value", for screen readers.
QString Table(bool group, int32_t id, Recordset& rows, QString& plain) {
    const QString title = QStringLiteral("%1 %2").arg(
        Tr(group ? texts::kGroupCaption : texts::kSubSystemCaption), QString::number(id));
    QString html = QStringLiteral("<h3>%1</h3><table cellpadding='3'>").arg(title.toHtmlEscaped());
    plain = title;
    const auto row = [&](std::string_view caption, const QString& value) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(Tr(caption), value);
        QString line = subsysmgr::WithoutColon(Tr(caption)) + QStringLiteral(": ") + value;
        plain += u'\n' + QTextDocumentFragment::fromHtml(
                             line.replace(QStringLiteral("<br>"), QStringLiteral(", ")))
                             .toPlainText();
    };
    const auto field = [&](const std::string& column) {
        return Escaped(rows.Fields(column).TextOrEmpty());
    };
    const std::string prefix = group ? "FTopClassName_" : "FName_";
    row(texts::kCode, field(group ? "FTopClassID" : "FSubSysID"));
    row(texts::kIndexCaption, field("FIndex"));
    row(texts::kNameCHSCaption, field(prefix + "CHS"));
    row(texts::kNameCHTCaption, field(prefix + "CHT"));
    row(texts::kNameENCaption, field(prefix + "EN"));
    if (!group) {
        row(texts::kNumberCaption, field("FSUBID"));
    }
    const int32_t show = rows.Fields("FShowSysType").ToInt32();
    row(texts::kVisibleCaption, Tr(rows.Fields("FVisible").ToBool() ? texts::kYes : texts::kNo));
    row(texts::kWebCaption, Tr((show & 2) == 2 ? texts::kYes : texts::kNo));
    row(texts::kAcctCaption, AccountTypes(rows.Fields("FAcctType").TextOrEmpty()));
    return html + QStringLiteral("</table>");
}

}  // namespace

/// The pane to a screen reader: a block of text named by the pane's name, its text the details as
/// lines of "caption: value" (the document's own text would carry the marks of its table cells).
/// Read only, without a caret of its own.
class DetailsPane::DetailsPaneAccessible : public QAccessibleWidget,
                                           public QAccessibleTextInterface {
  public:
    explicit DetailsPaneAccessible(DetailsPane* pane)
        : QAccessibleWidget(pane, QAccessible::StaticText) {}

    static QAccessibleInterface* Create(const QString& /*className*/, QObject* object) {
        auto* pane = qobject_cast<DetailsPane*>(object);
        return pane ? new DetailsPaneAccessible(pane) : nullptr;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text type) const override {
        return type == QAccessible::Value ? Plain() : QAccessibleWidget::text(type);
    }

    QString text(int startOffset, int endOffset) const override {
        return Plain().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Plain().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

  private:
    const QString& Plain() const { return static_cast<DetailsPane*>(widget())->plain_; }
};

DetailsPane::DetailsPane(QWidget* parent) : QTextBrowser(parent) {
    QAccessible::installFactory(&DetailsPaneAccessible::Create);  // once: it is not added twice
}

void DetailsPane::Retranslate() {
    setPlaceholderText(Tr(texts::kSelectHint));
}

void DetailsPane::Show(const QModelIndex& item) {
    clear();
    plain_.clear();
    const auto kind = static_cast<ItemKind>(item.data(kKindRole).toInt());
    if (!item.isValid() || (kind != ItemKind::Group && kind != ItemKind::SubSystem)) {
        return;
    }
    Guarded([&] {
        auto& info = subsysmgr::GetDataFlowInfo(*ModuleState::Current());
        const bool group = kind == ItemKind::Group;
        const int32_t id = item.data(kIdRole).toInt();
        const RecordsetPtr rows =
            group ? info.GetTopClass_All()
                  : info.GetSubSystem_All(Variant(item.data(kGroupIdRole).toInt()));
        rows->Filter(std::string(group ? "FTopClassID=" : "FSubSysID=") + std::to_string(id));
        if (!rows->Eof()) {
            setHtml(Table(group, id, *rows, plain_));
        }
    });
}

}  // namespace quarn::designer
