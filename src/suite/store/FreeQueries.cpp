#include "suite/store/FreeQueries.h"

#include "foundation/Dictionary.h"
#include "foundation/Utf8Text.h"
#include "suite/ContextEntries.h"
#include "suite/store/Database.h"
#include "suite/store/Schema.h"

namespace quarn::suite {

namespace {

// The name column of the context's language, selected as FName.
std::string LocalName(const std::string& propsString) {
    const std::string language =
        text::ToUpperAscii(ContextEntry(propsString, "Language").value_or("CHS"));
    if (language == "CHT") {
        return "FName_CHT AS FName";
    }
    if (language == "EN") {
        return "FName_EN AS FName";
    }
    return "FName";
}

std::shared_ptr<const RecordTable> ReadOnlyTable(SuiteSession& session,
                                                 const std::string& propsString,
                                                 const std::string& sql) {
    return session.Localizing([&] { return session.StoreFor(propsString)->QueryReadOnly(sql); });
}

RecordsetPtr ReadOnly(SuiteSession& session, const std::string& propsString,
                      const std::string& sql) {
    return Recordset::Create(ReadOnlyTable(session, propsString, sql));
}

}  // namespace

RecordsetPtr ClassInfo::GetData(const std::string& propsString, const std::string& sql) {
    // The text the group listing sends, letter for letter.
    constexpr std::string_view kAllGroups = "SELECT * FROM t_DataFlowTopClass Order By FIndex asc";
    const std::shared_ptr<IDatasInfo> info = warm_ ? warm_->Get() : nullptr;
    if (info && sql == kAllGroups) {
        const std::shared_ptr<Database> store =
            session_->Localizing([&] { return session_->StoreFor(propsString); });
        // The snapshot holds the columns of the schema this program writes.
        if (store == session_->Localizing([&] { return session_->Store(); }) &&
            store->SchemaVersion() == schema::kCurrentVersion) {
            info->ClearCache();  // follows the change log on the read
            return info->GetTopClass_All();
        }
    }
    return ReadOnly(*session_, propsString, sql);
}

VectorPtr ClassInfo::GetClassType(const std::string& propsString, const std::string& selection) {
    const auto types = ReadOnlyTable(*session_, propsString,
                                     "SELECT FID, " + LocalName(propsString) +
                                         ", FBillTypeID, FFunctionID FROM ICClassType WHERE " +
                                         selection + " ORDER BY FID");
    const VectorPtr result = Vector::Create();
    for (const uint32_t row : types->LiveRows()) {
        const DictionaryPtr type = Dictionary::Create();
        for (std::size_t column = 0; column < types->ColumnCount(); ++column) {
            // Column names as the query spells them, whatever case the database reports.
            static const char* const kNames[] = {"FID", "FName", "FBillTypeID", "FFunctionID"};
            type->Item(kNames[column], types->Value(row, column));
        }
        result->Add(type);
    }
    return result;
}

RecordsetPtr ClassDefineInfo::GetMultiCheckFlows(const std::string& propsString,
                                                 int32_t subSystemId) {
    return ReadOnly(*session_, propsString,
                    "SELECT FID, " + LocalName(propsString) +
                        " FROM t_MultiCheckFlow WHERE FSubSysID = " + std::to_string(subSystemId) +
                        " ORDER BY FID");
}

RecordsetPtr ClassDefineInfo::GetWorkFlows(const std::string& propsString,
                                           const std::string& selection) {
    return ReadOnly(*session_, propsString,
                    "SELECT FID, " + LocalName(propsString) + " FROM t_WorkFlow WHERE " +
                        selection + " ORDER BY FID");
}

RecordsetPtr RptAction::GetReportRs(const std::string& propsString, int16_t /*kind*/) {
    return ReadOnly(
        *session_, propsString,
        "SELECT FID, " + LocalName(propsString) + ", FType, FSubSysID FROM t_Report ORDER BY FID");
}

}  // namespace quarn::suite
