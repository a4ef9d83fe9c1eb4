#include "fakes/FakeServices.h"

namespace quarn::fakes {

RecordsetPtr FakeClassInfo::GetData(const std::string& propsString, const std::string& sql) {
    log_->Record("ClassInfo", "GetData", {propsString, sql});
    failures.Check("ClassInfo", "GetData");
    return answerGetData ? answerGetData(sql) : Recordset::Create({"Value"}, {});
}

VectorPtr FakeClassInfo::GetClassType(const std::string& propsString,
                                      const std::string& selection) {
    log_->Record("ClassInfo", "GetClassType", {propsString, selection});
    failures.Check("ClassInfo", "GetClassType");
    return answerGetClassType ? answerGetClassType(selection) : Vector::Create();
}

Variant FakeShareProps::GetProperty(int32_t processId, const std::string& name) {
    log_->Record("ShareProps", "GetProperty", {processId, name});
    failures.Check("ShareProps", "GetProperty");
    const auto it = values_.find({processId, name});
    return it == values_.end() ? Variant() : it->second;
}

void FakeShareProps::SetProperty(int32_t processId, const std::string& name, Variant value) {
    values_[{processId, name}] = std::move(value);
}

void FakeResLoader::ResFileBaseName(const std::string& value) {
    log_->Record("ResLoader", "ResFileBaseName", {value});
    failures.Check("ResLoader", "ResFileBaseName");
    baseName_ = value;
}

void FakeResLoader::LanguageID(const std::string& value) {
    log_->Record("ResLoader", "LanguageID", {value});
    failures.Check("ResLoader", "LanguageID");
    language_ = value;
}

std::string FakeResLoader::LoadString(const std::string& key) {
    log_->Record("ResLoader", "LoadString", {key});
    failures.Check("ResLoader", "LoadString");
    const auto language = catalog.find(language_);
    if (language != catalog.end()) {
        const auto text = language->second.find(key);
        if (text != language->second.end()) {
            return text->second;
        }
    }
    return "[" + language_ + "]" + key;
}

Variant FakeLog::LogStart(const std::string& procedure) {
    log_->Record("Log", "LogStart", {procedure});
    failures.Check("Log", "LogStart");
    return nextHandle_++;
}

void FakeLog::LogEnd(int32_t handle, int32_t value) {
    log_->Record("Log", "LogEnd", {handle, value});
    failures.Check("Log", "LogEnd");
}

bool FakeLog::IsEnabled() {
    log_->Record("Log", "IsEnabled");
    failures.Check("Log", "IsEnabled");
    return enabled;
}

void FakeChmHelp::ShowHELP(int32_t topic, int16_t mode, const std::string& text1, int32_t number1,
                           const std::string& text2, int32_t number2) {
    log_->Record("ChmHelp", "ShowHELP", {topic, mode, text1, number1, text2, number2});
    failures.Check("ChmHelp", "ShowHELP");
}

void FakeFrmResLoader::SetFrmFont(IFontTarget& dialog, const std::string& language) {
    log_->Record("FrmResLoader", "SetFrmFont", {language});
    failures.Check("FrmResLoader", "SetFrmFont");
    dialog.SetFormFont(language == "EN" ? "Sans" : "Noto Sans CJK", 9);
}

std::string FakeMessageFormatter::FormatMessage(const std::string& templateText,
                                                const std::vector<Variant>& arguments) {
    log_->Record("MessageFormatter", "FormatMessage", {templateText});
    failures.Check("MessageFormatter", "FormatMessage");
    std::string result = templateText;
    for (std::size_t i = arguments.size(); i > 0; --i) {  // %10 before %1
        const std::string placeholder = "%" + std::to_string(i);
        for (auto pos = result.find(placeholder); pos != std::string::npos;
             pos = result.find(placeholder, pos)) {
            const std::string value = arguments[i - 1].ToText();
            result.replace(pos, placeholder.size(), value);
            pos += value.size();
        }
    }
    return result;
}

int32_t FakeMessageBox::Show(const std::string& prompt, int32_t flags, const std::string& title) {
    log_->Record("MessageBox", "Show", {prompt, flags, title});
    shown.push_back({prompt, flags, title});
    return kMessageBoxResultOk;
}

}  // namespace quarn::fakes

namespace quarn::fakes {

RecordsetPtr EntryRows(const std::vector<std::pair<int32_t, std::string>>& entries) {
    std::vector<RecordTable::Row> rows;
    for (const auto& [id, name] : entries) {
        rows.push_back({id, name});
    }
    return Recordset::Create({"FID", "FName"}, std::move(rows));
}

RecordsetPtr FakeClassDefineInfo::GetMultiCheckFlows(const std::string& propsString,
                                                     int32_t subSystemId) {
    log_->Record("ClassDefineInfo", "GetMultiCheckFlows", {propsString, subSystemId});
    failures.Check("ClassDefineInfo", "GetMultiCheckFlows");
    return answerMultiCheckFlows ? answerMultiCheckFlows(subSystemId) : EntryRows({});
}

RecordsetPtr FakeClassDefineInfo::GetWorkFlows(const std::string& propsString,
                                               const std::string& selection) {
    log_->Record("ClassDefineInfo", "GetWorkFlows", {propsString, selection});
    failures.Check("ClassDefineInfo", "GetWorkFlows");
    return answerWorkFlows ? answerWorkFlows(selection) : EntryRows({});
}

RecordsetPtr FakeRptAction::GetReportRs(const std::string& propsString, int16_t kind) {
    log_->Record("RptAction", "GetReportRs", {propsString, kind});
    failures.Check("RptAction", "GetReportRs");
    return answerReports ? answerReports() : Recordset::Create({"FID", "FName", "FType"}, {});
}

}  // namespace quarn::fakes
