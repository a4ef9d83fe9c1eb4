#include "DetailsPane.h"

#include <string>

#include "DesignerTexts.h"
#include "FunctionalTreeModel.h"
#include "Guarded.h"
#include "SessionText.h"
#include "foundation/Recordset.h"
#include "runtime/SessionContext.h"

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

// The item's table, from its row of the shared data-flow information (`rows`, filtered to it).
QString Table(bool group, int32_t id, Recordset& rows) {
    QString html = QStringLiteral("<h3>%1 %2</h3><table cellpadding='3'>")
                       .arg(Tr(group ? texts::kGroupCaption : texts::kSubSystemCaption))
                       .arg(id);
    const auto row = [&](std::string_view caption, const QString& value) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(Tr(caption), value);
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

DetailsPane::DetailsPane(QWidget* parent) : QTextBrowser(parent) {}

void DetailsPane::Retranslate() {
    setPlaceholderText(Tr(texts::kSelectHint));
}

void DetailsPane::Show(const QModelIndex& item) {
    clear();
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
            setHtml(Table(group, id, *rows));
        }
    });
}

}  // namespace quarn::designer
