#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/CallLog.h"
#include "host/IChmHelp.h"
#include "host/IClassDefineInfo.h"
#include "host/IClassInfo.h"
#include "host/IFrmResLoader.h"
#include "host/ILog.h"
#include "host/IMessageBox.h"
#include "host/IMessageFormatter.h"
#include "host/IResLoader.h"
#include "host/IRptAction.h"
#include "host/IShareProps.h"

/// In-memory fakes of the suite components other than the data-flow information.
namespace quarn::fakes {

/// The listing fakes' answer: no FID/FName rows.
inline RecordsetPtr NoEntries() {
    return Recordset::Create({"FID", "FName"}, {});
}

class FakeClassInfo : public IClassInfo, public FakeComponent {
  public:
    explicit FakeClassInfo(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "ClassInfo") {}

    /// Answers GetData; by default an empty open Recordset. GetClassType gives an empty Vector.
    std::function<RecordsetPtr(const std::string& sql)> answerGetData;

    RecordsetPtr GetData(const std::string& propsString, const std::string& sql) override {
        Enter("GetData", {propsString, sql});
        return answerGetData ? answerGetData(sql) : Recordset::Create({"Value"}, {});
    }
    VectorPtr GetClassType(const std::string& propsString, const std::string& selection) override {
        Enter("GetClassType", {propsString, selection});
        return Vector::Create();
    }
};

class FakeClassDefineInfo : public IClassDefineInfo, public FakeComponent {
  public:
    explicit FakeClassDefineInfo(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "ClassDefineInfo") {}

    /// Answers by subsystem identifier; an empty FID/FName Recordset by default, as for the
    /// work flows.
    std::function<RecordsetPtr(int32_t subSystemId)> answerMultiCheckFlows;

    RecordsetPtr GetMultiCheckFlows(const std::string& propsString, int32_t subSystemId) override {
        Enter("GetMultiCheckFlows", {propsString, subSystemId});
        return answerMultiCheckFlows ? answerMultiCheckFlows(subSystemId) : NoEntries();
    }
    RecordsetPtr GetWorkFlows(const std::string& propsString,
                              const std::string& selection) override {
        Enter("GetWorkFlows", {propsString, selection});
        return NoEntries();
    }
};

class FakeRptAction : public IRptAction, public FakeComponent {
  public:
    explicit FakeRptAction(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "RptAction") {}

    /// The reports (FID, FName, FType); none by default.
    std::function<RecordsetPtr()> answerReports;

    RecordsetPtr GetReportRs(const std::string& propsString, int16_t kind) override {
        Enter("GetReportRs", {propsString, kind});
        return answerReports ? answerReports() : Recordset::Create({"FID", "FName", "FType"}, {});
    }
};

/// Keeps the values it is given; only reads are recorded.
class FakeShareProps : public IShareProps, public FakeComponent {
  public:
    explicit FakeShareProps(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "ShareProps") {}

    Variant GetProperty(int32_t processId, const std::string& name) override {
        Enter("GetProperty", {processId, name});
        const auto it = values_.find({processId, name});
        return it == values_.end() ? Variant() : it->second;
    }
    void SetProperty(int32_t processId, const std::string& name, Variant value) override {
        values_[{processId, name}] = std::move(value);
    }

  private:
    std::map<std::pair<int32_t, std::string>, Variant> values_;
};

/// Returns the catalog's text for the current language, or "[LANGUAGE]key" when it has none,
/// so tests see that a text went through the loader.
class FakeResLoader : public IResLoader, public FakeComponent {
  public:
    explicit FakeResLoader(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "ResLoader") {}

    /// Texts by language and key.
    std::map<std::string, std::map<std::string, std::string>> catalog;

    std::string ResFileBaseName() const override { return baseName_; }
    void ResFileBaseName(const std::string& value) override {
        Enter("ResFileBaseName", {value});
        baseName_ = value;
    }
    std::string LanguageID() const override { return language_; }
    void LanguageID(const std::string& value) override {
        Enter("LanguageID", {value});
        language_ = value;
    }
    std::string LoadString(const std::string& key) override {
        Enter("LoadString", {key});
        const auto texts = catalog.find(language_);
        if (texts != catalog.end() && texts->second.contains(key)) {
            return texts->second.at(key);
        }
        return "[" + language_ + "]" + key;
    }

  private:
    std::string baseName_;
    std::string language_;
};

class FakeLog : public ILog, public FakeComponent {
  public:
    explicit FakeLog(std::shared_ptr<CallLog> log) : FakeComponent(std::move(log), "Log") {}

    bool enabled = true;

    Variant LogStart(const std::string& procedure) override {
        Enter("LogStart", {procedure});
        return nextHandle_++;
    }
    void LogEnd(int32_t handle, int32_t value) override { Enter("LogEnd", {handle, value}); }
    bool IsEnabled() override {
        Enter("IsEnabled");
        return enabled;
    }

  private:
    int32_t nextHandle_ = 1;
};

class FakeChmHelp : public IChmHelp, public FakeComponent {
  public:
    explicit FakeChmHelp(std::shared_ptr<CallLog> log) : FakeComponent(std::move(log), "ChmHelp") {}
    void ShowHELP(int32_t topic, int16_t mode, const std::string& text1, int32_t number1,
                  const std::string& text2, int32_t number2) override {
        Enter("ShowHELP", {topic, mode, text1, number1, text2, number2});
    }
};

/// Gives English dialogs one font and the others another.
class FakeFrmResLoader : public IFrmResLoader, public FakeComponent {
  public:
    explicit FakeFrmResLoader(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "FrmResLoader") {}
    void SetFrmFont(IFontTarget& dialog, const std::string& language) override {
        Enter("SetFrmFont", {language});
        dialog.SetFormFont(language == "EN" ? "Sans" : "Noto Sans CJK", 9);
    }
};

/// Replaces %1, %2, ... (up to %9) by the arguments' texts.
class FakeMessageFormatter : public IMessageFormatter, public FakeComponent {
  public:
    explicit FakeMessageFormatter(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "MessageFormatter") {}
    std::string FormatMessage(const std::string& templateText,
                              const std::vector<Variant>& arguments) override;
};

/// Records every message and answers OK.
class FakeMessageBox : public IMessageBox, public FakeComponent {
  public:
    explicit FakeMessageBox(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "MessageBox") {}

    struct Shown {
        std::string prompt;
        int32_t flags;
        std::string title;
    };
    std::vector<Shown> shown;

    int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) override {
        Enter("Show", {prompt, flags, title});
        shown.push_back({prompt, flags, title});
        return kMessageBoxResultOk;
    }
};

}  // namespace quarn::fakes
