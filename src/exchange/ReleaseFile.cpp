#include "exchange/ReleaseFile.h"

#include <set>

#include "exchange/ExchangeErrors.h"
#include "exchange/ItemJson.h"
#include "model/IdRanges.h"

namespace quarn::subsysmgr::exchange {

namespace {

// The header's members, named as the exchange file's readers name a missing or mistyped one.
class HeaderReader {
  public:
    HeaderReader(std::string_view fileName, const ExchangeText& text)
        : fileName_(fileName), text_(text) {}

    const nlohmann::json& Member(const nlohmann::json& object, const std::string& path,
                                 std::string_view key, nlohmann::json::value_t type,
                                 std::string_view what) const {
        const std::string member = path.empty() ? std::string(key) : path + "." + std::string(key);
        const auto found = object.find(key);
        if (found == object.end()) {
            text_.Raise(errors::kMissingField, {fileName_, member});
        }
        const bool ok =
            type == nlohmann::json::value_t::number_integer
                ? found->is_number_integer() && found->get<int64_t>() == found->get<int32_t>()
                : found->type() == type;
        if (!ok) {
            text_.Raise(errors::kWrongType, {fileName_, member, text_.Text(what)});
        }
        return *found;
    }
    std::string Text(const nlohmann::json& object, const std::string& path,
                     std::string_view key) const {
        return Member(object, path, key, nlohmann::json::value_t::string, "a text")
            .get<std::string>();
    }

  private:
    std::string fileName_;
    const ExchangeText& text_;
};

std::vector<AccountTypeItem> ReadAccountTypes(const nlohmann::json& root,
                                              const HeaderReader& reader, std::string_view fileName,
                                              const ExchangeText& text) {
    const auto& list =
        reader.Member(root, "", "accountTypes", nlohmann::json::value_t::array, "a list");
    std::vector<AccountTypeItem> types;
    std::set<int32_t> codes;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string path = "accountTypes[" + std::to_string(i) + "]";
        const auto& names =
            reader.Member(list[i], path, "names", nlohmann::json::value_t::object, "an object");
        const std::string namesPath = path + ".names";
        types.push_back(
            {reader
                 .Member(list[i], path, "code", nlohmann::json::value_t::number_integer,
                         "a whole number")
                 .get<int32_t>(),
             Names{reader.Text(names, namesPath, "CHS"), reader.Text(names, namesPath, "CHT"),
                   reader.Text(names, namesPath, "EN")}});
        if (!codes.insert(types.back().code).second) {
            text.Raise(errors::kDuplicateItem, {fileName, text.Text("account type") + " " +
                                                              std::to_string(types.back().code)});
        }
    }
    std::sort(types.begin(), types.end(),
              [](const AccountTypeItem& a, const AccountTypeItem& b) { return a.code < b.code; });
    return types;
}

}  // namespace

bool IsDelivered(const TreeItemRef& item) {
    if (item.kind == TreeItemRef::Kind::Group) {
        return !ranges::kCustomerGroups.Contains(item.id) && !ranges::kBroxGroups.Contains(item.id);
    }
    return !ranges::kCustomerSubSystems.Contains(item.id) &&
           !ranges::kBroxSubSystems.Contains(item.id);
}

std::string WriteRelease(const Release& release) {
    Json types = Json::array();
    for (const AccountTypeItem& type : release.accountTypes) {
        types.push_back(Json{{"code", type.code}, {"names", ToJson(type.names)}});
    }
    Json groups = Json::array();
    for (const GroupItem& group : release.groups) {
        groups.push_back(ToJson(group));
    }
    Json subSystems = Json::array();
    for (const SubSystemItem& subSystem : release.subSystems) {
        subSystems.push_back(ToJson(subSystem));
    }
    const Json root{{"format", kExchangeFormat},
                    {"release", {{"name", release.header.name}, {"date", release.header.date}}},
                    {"accountTypes", std::move(types)},
                    {"groups", std::move(groups)},
                    {"subsystems", std::move(subSystems)}};
    return root.dump(2) + "\n";
}

Release ReadRelease(std::string_view content, std::string_view fileName, const ExchangeText& text) {
    // The items and the file as a whole are read as an exchange file; then the header.
    Exchange items = ReadExchange(content, fileName, text);
    const nlohmann::json root = nlohmann::json::parse(content, nullptr, false);
    const HeaderReader reader(fileName, text);
    const auto& header =
        reader.Member(root, "", "release", nlohmann::json::value_t::object, "an object");
    Release release{
        {reader.Text(header, "release", "name"), reader.Text(header, "release", "date")},
        ReadAccountTypes(root, reader, fileName, text),
        std::move(items.groups),
        std::move(items.subSystems)};
    std::set<int32_t> groups;
    for (const GroupItem& group : release.groups) {
        if (!IsDelivered({TreeItemRef::Kind::Group, group.id})) {
            text.Raise(errors::kNotDelivered,
                       {fileName, text.Text("group") + " " + std::to_string(group.id)});
        }
        groups.insert(group.id);
    }
    for (const SubSystemItem& subSystem : release.subSystems) {
        if (!IsDelivered({TreeItemRef::Kind::SubSystem, subSystem.id})) {
            text.Raise(errors::kNotDelivered,
                       {fileName, text.Text("subsystem") + " " + std::to_string(subSystem.id)});
        }
        if (!groups.contains(subSystem.group)) {
            text.Raise(errors::kSubSystemOutsideRelease, {fileName, subSystem.id, subSystem.group});
        }
    }
    return release;
}

}  // namespace quarn::subsysmgr::exchange
