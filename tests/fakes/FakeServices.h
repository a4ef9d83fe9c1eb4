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
#include "host/IClassInfo.h"
#include "host/IFrmResLoader.h"
#include "host/ILog.h"
#include "host/IMessageBox.h"
#include "host/IMessageFormatter.h"
#include "host/IResLoader.h"
#include "host/IShareProps.h"

/// In-memory fakes of the suite components other than the data-flow information. Each records
/// its calls in the suite's CallLog and fails on demand through its FailureSwitch.
namespace quarn::fakes {

class FakeClassInfo : public IClassInfo {
  public:
    explicit FakeClassInfo(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    /// Answers GetData; by default an empty open Recordset.
    std::function<RecordsetPtr(const std::string& sql)> answerGetData;
    /// Answers GetClassType; by default an empty Vector.
    std::function<VectorPtr(const std::string& selection)> answerGetClassType;
    FailureSwitch failures;

    RecordsetPtr GetData(const std::string& propsString, const std::string& sql) override;
    VectorPtr GetClassType(const std::string& propsString, const std::string& selection) override;

  private:
    std::shared_ptr<CallLog> log_;
};

class FakeShareProps : public IShareProps {
  public:
    explicit FakeShareProps(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    FailureSwitch failures;

    Variant GetProperty(int32_t processId, const std::string& name) override;
    void SetProperty(int32_t processId, const std::string& name, Variant value) override;

  private:
    std::shared_ptr<CallLog> log_;
    std::map<std::pair<int32_t, std::string>, Variant> values_;
};

/// Returns the catalog's text for the current language, or "[LANGUAGE]key" when it has none,
/// so tests see that a text went through the loader.
class FakeResLoader : public IResLoader {
  public:
    explicit FakeResLoader(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    /// Texts by language and key.
    std::map<std::string, std::map<std::string, std::string>> catalog;
    FailureSwitch failures;

    std::string ResFileBaseName() const override { return baseName_; }
    void ResFileBaseName(const std::string& value) override;
    std::string LanguageID() const override { return language_; }
    void LanguageID(const std::string& value) override;
    std::string LoadString(const std::string& key) override;

  private:
    std::shared_ptr<CallLog> log_;
    std::string baseName_;
    std::string language_;
};

class FakeLog : public ILog {
  public:
    explicit FakeLog(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    bool enabled = true;
    FailureSwitch failures;

    Variant LogStart(const std::string& procedure) override;
    void LogEnd(int32_t handle, int32_t value) override;
    bool IsEnabled() override;

  private:
    std::shared_ptr<CallLog> log_;
    int32_t nextHandle_ = 1;
};

class FakeChmHelp : public IChmHelp {
  public:
    explicit FakeChmHelp(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}
    FailureSwitch failures;
    void ShowHELP(int32_t topic, int16_t mode, const std::string& text1, int32_t number1,
                  const std::string& text2, int32_t number2) override;

  private:
    std::shared_ptr<CallLog> log_;
};

class FakeFrmResLoader : public IFrmResLoader {
  public:
    explicit FakeFrmResLoader(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}
    FailureSwitch failures;
    void SetFrmFont(IFontTarget& dialog, const std::string& language) override;

  private:
    std::shared_ptr<CallLog> log_;
};

/// Replaces %1, %2, ... by the arguments' texts.
class FakeMessageFormatter : public IMessageFormatter {
  public:
    explicit FakeMessageFormatter(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}
    FailureSwitch failures;
    std::string FormatMessage(const std::string& templateText,
                              const std::vector<Variant>& arguments) override;

  private:
    std::shared_ptr<CallLog> log_;
};

/// Records every message and answers OK.
class FakeMessageBox : public IMessageBox {
  public:
    explicit FakeMessageBox(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    struct Shown {
        std::string prompt;
        int32_t flags;
        std::string title;
    };
    std::vector<Shown> shown;

    int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) override;

  private:
    std::shared_ptr<CallLog> log_;
};

}  // namespace quarn::fakes

#include "host/IClassDefineInfo.h"
#include "host/IRptAction.h"

namespace quarn::fakes {

class FakeClassDefineInfo : public IClassDefineInfo {
  public:
    explicit FakeClassDefineInfo(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    /// Answers by subsystem identifier or selection text; empty FID/FName Recordsets by default.
    std::function<RecordsetPtr(int32_t subSystemId)> answerMultiCheckFlows;
    std::function<RecordsetPtr(const std::string& selection)> answerWorkFlows;
    FailureSwitch failures;

    RecordsetPtr GetMultiCheckFlows(const std::string& propsString, int32_t subSystemId) override;
    RecordsetPtr GetWorkFlows(const std::string& propsString,
                              const std::string& selection) override;

  private:
    std::shared_ptr<CallLog> log_;
};

class FakeRptAction : public IRptAction {
  public:
    explicit FakeRptAction(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

    /// The reports (FID, FName, FType); none by default.
    std::function<RecordsetPtr()> answerReports;
    FailureSwitch failures;

    RecordsetPtr GetReportRs(const std::string& propsString, int16_t kind) override;

  private:
    std::shared_ptr<CallLog> log_;
};

/// FID/FName rows for the listing fakes.
RecordsetPtr EntryRows(const std::vector<std::pair<int32_t, std::string>>& entries);

}  // namespace quarn::fakes
