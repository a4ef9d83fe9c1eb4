#include "ExchangeFile.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>

#include "CliErrors.h"
#include "ItemJson.h"

namespace quarn::subsysmgr::cli {

namespace {

// Reads members strictly and names the first one that is missing or of the wrong type.
class StrictReader {
  public:
    StrictReader(std::string_view fileName, const CliText& text)
        : fileName_(fileName), text_(text) {}

    const nlohmann::json& Member(const nlohmann::json& object, const std::string& path,
                                 std::string_view key) const {
        const auto it = object.find(key);
        if (it == object.end()) {
            text_.Raise(errors::kMissingField, {fileName_, Join(path, key)});
        }
        return *it;
    }

    const nlohmann::json& Object(const nlohmann::json& value, const std::string& path) const {
        return Expect(value, value.is_object(), path, "an object");
    }
    const nlohmann::json& List(const nlohmann::json& value, const std::string& path) const {
        return Expect(value, value.is_array(), path, "a list");
    }
    int32_t Integer(const nlohmann::json& value, const std::string& path) const {
        bool fits = false;
        if (value.is_number_unsigned()) {
            fits = value.get<uint64_t>() <= uint64_t{std::numeric_limits<int32_t>::max()};
        } else if (value.is_number_integer()) {
            const int64_t number = value.get<int64_t>();
            fits = number >= std::numeric_limits<int32_t>::min() &&
                   number <= std::numeric_limits<int32_t>::max();
        }
        Expect(value, fits, path, "a whole number");
        return value.get<int32_t>();
    }
    std::string Text(const nlohmann::json& value, const std::string& path) const {
        return Expect(value, value.is_string(), path, "a text").get<std::string>();
    }
    bool Boolean(const nlohmann::json& value, const std::string& path) const {
        return Expect(value, value.is_boolean(), path, "true or false").get<bool>();
    }

    // The members every item has.
    int32_t Integer(const nlohmann::json& object, const std::string& path,
                    std::string_view key) const {
        return Integer(Member(object, path, key), Join(path, key));
    }
    std::string Text(const nlohmann::json& object, const std::string& path,
                     std::string_view key) const {
        return Text(Member(object, path, key), Join(path, key));
    }
    bool Boolean(const nlohmann::json& object, const std::string& path,
                 std::string_view key) const {
        return Boolean(Member(object, path, key), Join(path, key));
    }
    Names ReadNames(const nlohmann::json& object, const std::string& path) const {
        const std::string namesPath = Join(path, "names");
        const auto& names = Object(Member(object, path, "names"), namesPath);
        return Names{Text(names, namesPath, "CHS"), Text(names, namesPath, "CHT"),
                     Text(names, namesPath, "EN")};
    }
    std::vector<int32_t> AccountTypes(const nlohmann::json& object, const std::string& path) const {
        const std::string listPath = Join(path, "accountTypes");
        const auto& list = List(Member(object, path, "accountTypes"), listPath);
        std::vector<int32_t> types;
        for (std::size_t i = 0; i < list.size(); ++i) {
            types.push_back(Integer(list[i], Index(listPath, i)));
        }
        std::sort(types.begin(), types.end());
        types.erase(std::unique(types.begin(), types.end()), types.end());
        return types;
    }

    static std::string Join(const std::string& path, std::string_view key) {
        return path.empty() ? std::string(key) : path + "." + std::string(key);
    }
    static std::string Index(const std::string& path, std::size_t index) {
        return path + "[" + std::to_string(index) + "]";
    }

  private:
    const nlohmann::json& Expect(const nlohmann::json& value, bool ok, const std::string& path,
                                 std::string_view what) const {
        if (!ok) {
            text_.Raise(errors::kWrongType, {fileName_, path, text_.Text(what)});
        }
        return value;
    }

    std::string fileName_;
    const CliText& text_;
};

GroupItem ReadGroup(const StrictReader& reader, const nlohmann::json& value,
                    const std::string& path) {
    const auto& object = reader.Object(value, path);
    return GroupItem{reader.Integer(object, path, "id"),    reader.ReadNames(object, path),
                     reader.Integer(object, path, "index"), reader.Boolean(object, path, "visible"),
                     reader.Boolean(object, path, "web"),   reader.AccountTypes(object, path)};
}

SubSystemItem ReadSubSystem(const StrictReader& reader, const nlohmann::json& value,
                            const std::string& path) {
    const auto& object = reader.Object(value, path);
    return SubSystemItem{
        reader.Integer(object, path, "id"),    reader.Integer(object, path, "group"),
        reader.Text(object, path, "number"),   reader.ReadNames(object, path),
        reader.Integer(object, path, "index"), reader.Boolean(object, path, "visible"),
        reader.Boolean(object, path, "web"),   reader.AccountTypes(object, path)};
}

template <class Item, class ReadItem>
std::vector<Item> ReadList(const StrictReader& reader, const nlohmann::json& root,
                           std::string_view key, std::string_view kind, ReadItem readItem,
                           std::string_view fileName, const CliText& text) {
    const std::string path(key);
    const auto& list = reader.List(reader.Member(root, "", key), path);
    std::vector<Item> items;
    std::set<int32_t> ids;
    for (std::size_t i = 0; i < list.size(); ++i) {
        items.push_back(readItem(reader, list[i], StrictReader::Index(path, i)));
        if (!ids.insert(items.back().id).second) {
            text.Raise(errors::kDuplicateItem,
                       {fileName, text.Text(kind) + " " + std::to_string(items.back().id)});
        }
    }
    return items;
}

}  // namespace

std::string WriteExchange(const Exchange& exchange) {
    Json groups = Json::array();
    for (const GroupItem& group : exchange.groups) {
        groups.push_back(ToJson(group));
    }
    Json subSystems = Json::array();
    for (const SubSystemItem& subSystem : exchange.subSystems) {
        subSystems.push_back(ToJson(subSystem));
    }
    const Json file{{"format", kExchangeFormat}, {"groups", groups}, {"subsystems", subSystems}};
    return file.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Exchange ReadExchange(std::string_view content, std::string_view fileName, const CliText& text) {
    nlohmann::json root;
    try {
        root = nlohmann::json::parse(content);
    } catch (const nlohmann::json::parse_error& error) {
        text.Raise(errors::kNotJson, {fileName, error.what()});
    }
    const StrictReader reader(fileName, text);
    reader.Object(root, text.Text("the top level"));
    const int32_t format = reader.Integer(root, "", "format");
    if (format != kExchangeFormat) {
        text.Raise(errors::kFormatVersion, {fileName, format, kExchangeFormat});
    }
    return Exchange{ReadList<GroupItem>(reader, root, "groups", "group", ReadGroup, fileName, text),
                    ReadList<SubSystemItem>(reader, root, "subsystems", "subsystem", ReadSubSystem,
                                            fileName, text)};
}

}  // namespace quarn::subsysmgr::cli
