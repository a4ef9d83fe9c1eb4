#include "exchange/ExchangeFile.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <set>

#include "exchange/ExchangeErrors.h"
#include "exchange/ItemJson.h"
#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr::exchange {

namespace {

// Reads members strictly and names the first one that is missing or of the wrong type.
class StrictReader {
  public:
    StrictReader(std::string_view fileName, const ExchangeText& text)
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
    const ExchangeText& text_;
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
                           std::string_view fileName, const ExchangeText& text) {
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

// The JSON library refuses a number beyond the range of a double (1e999) as a fault of the whole
// text that names no member. Each such number is replaced by a fraction, which no member of an
// item takes, so that its member is named like one with a value of any other wrong type, and one
// in a member that is ignored stays ignored. Texts are copied as they are.
std::string WithFiniteNumbers(std::string_view content) {
    std::string finite;
    finite.reserve(content.size());
    std::size_t at = 0;
    while (at < content.size()) {
        const char c = content[at];
        std::size_t end = at + 1;
        if (c == '"') {
            while (end < content.size() && content[end] != '"') {
                end += content[end] == '\\' ? 2 : 1;
            }
            end = std::min(end + 1, content.size());
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            end = std::min(content.find_first_not_of("+-.0123456789Ee", at), content.size());
            const std::string_view number = content.substr(at, end - at);
            double value = 0;
            if (std::from_chars(number.data(), number.data() + number.size(), value).ec ==
                std::errc::result_out_of_range) {
                finite += "0.5";
                at = end;
                continue;
            }
        }
        finite.append(content.substr(at, end - at));
        at = end;
    }
    return finite;
}

// The file is written as the JSON library's dump(2) lays out the items' JSON (ItemJson.h), item
// by item: building the whole document first costs several times more for 100,000 items.

void Indent(std::string& out, int depth) {
    out.append(static_cast<std::size_t>(2 * depth), ' ');
}

// `"key": ` at the depth (the keys are plain ASCII).
void Member(std::string& out, int depth, std::string_view key) {
    Indent(out, depth);
    out += '"';
    out += key;
    out += "\": ";
}

// A text as the library writes it: UTF-8 as it is, quotes, backslashes and control characters
// escaped. The library's own replacement of invalid UTF-8 is left to it.
void AppendText(std::string& out, std::string_view text) {
    if (!text::IsValidUtf8(text)) {
        out += Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
    }
    out += '"';
    std::size_t done = 0;  // what is copied: the runs between the characters that are escaped
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) {
            continue;
        }
        out.append(text.substr(done, i - done));
        done = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += fmt::format("\\u{:04x}", static_cast<unsigned>(c));
                break;
        }
    }
    out.append(text.substr(done));
    out += '"';
}

void AppendNames(std::string& out, const Names& names, int depth) {
    out += "{\n";
    Member(out, depth + 1, "CHS");
    AppendText(out, names.chs);
    out += ",\n";
    Member(out, depth + 1, "CHT");
    AppendText(out, names.cht);
    out += ",\n";
    Member(out, depth + 1, "EN");
    AppendText(out, names.en);
    out += '\n';
    Indent(out, depth);
    out += "},\n";
}

// The members after the names, which groups and subsystems share.
void AppendFlags(std::string& out, int32_t index, bool visible, bool web,
                 const std::vector<int32_t>& accountTypes) {
    constexpr int kDepth = 3;
    Member(out, kDepth, "index");
    out += std::to_string(index) + ",\n";
    Member(out, kDepth, "visible");
    out += visible ? "true,\n" : "false,\n";
    Member(out, kDepth, "web");
    out += web ? "true,\n" : "false,\n";
    Member(out, kDepth, "accountTypes");
    if (accountTypes.empty()) {
        out += "[]\n";
        return;
    }
    out += "[\n";
    for (std::size_t i = 0; i < accountTypes.size(); ++i) {
        Indent(out, kDepth + 1);
        out += std::to_string(accountTypes[i]);
        out += i + 1 < accountTypes.size() ? ",\n" : "\n";
    }
    Indent(out, kDepth);
    out += "]\n";
}

}  // namespace

ExchangeWriter::ExchangeWriter(const std::optional<ChainHead>& history) {
    out_ = "{\n";
    Member(out_, 1, "format");
    out_ += std::to_string(kExchangeFormat) + ",\n";
    if (history) {
        Member(out_, 1, "history");
        out_ += "{\n";
        Member(out_, 2, "change");
        out_ += std::to_string(history->change) + ",\n";
        Member(out_, 2, "seal");
        AppendText(out_, history->seal);
        out_ += "\n";
        Indent(out_, 1);
        out_ += "},\n";
    }
    Member(out_, 1, "groups");
}

void ExchangeWriter::OpenItem() {
    if (out_.size() >= kPartSize) {
        parts_.push_back(std::move(out_));
        out_ = std::string();
        out_.reserve(2 * kPartSize);  // room that is only touched as it is written
    }
    out_ += listed_ == 0 ? "[\n" : ",\n";
    ++listed_;
    Indent(out_, 2);
    out_ += "{\n";
}

void ExchangeWriter::CloseList(bool last) {
    if (listed_ == 0) {
        out_ += "[]";
    } else {
        out_ += '\n';
        Indent(out_, 1);
        out_ += ']';
    }
    out_ += last ? "\n" : ",\n";
    listed_ = 0;
}

void ExchangeWriter::StartSubSystems() {
    if (inSubSystems_) {
        return;
    }
    CloseList(false);
    Member(out_, 1, "subsystems");
    inSubSystems_ = true;
}

void ExchangeWriter::Add(const GroupItem& group) {
    OpenItem();
    Member(out_, 3, "id");
    out_ += std::to_string(group.id) + ",\n";
    Member(out_, 3, "names");
    AppendNames(out_, group.names, 3);
    AppendFlags(out_, group.index, group.visible, group.web, group.accountTypes);
    Indent(out_, 2);
    out_ += '}';
}

void ExchangeWriter::Add(const SubSystemItem& subSystem) {
    StartSubSystems();
    OpenItem();
    Member(out_, 3, "id");
    out_ += std::to_string(subSystem.id) + ",\n";
    Member(out_, 3, "group");
    out_ += std::to_string(subSystem.group) + ",\n";
    Member(out_, 3, "number");
    AppendText(out_, subSystem.number);
    out_ += ",\n";
    Member(out_, 3, "names");
    AppendNames(out_, subSystem.names, 3);
    AppendFlags(out_, subSystem.index, subSystem.visible, subSystem.web, subSystem.accountTypes);
    Indent(out_, 2);
    out_ += '}';
}

std::vector<std::string> ExchangeWriter::Finish() {
    StartSubSystems();
    CloseList(true);
    out_ += "}\n";
    parts_.push_back(std::move(out_));
    return std::move(parts_);
}

std::string WriteExchange(const Exchange& exchange) {
    ExchangeWriter writer(exchange.history);
    for (const GroupItem& group : exchange.groups) {
        writer.Add(group);
    }
    for (const SubSystemItem& subSystem : exchange.subSystems) {
        writer.Add(subSystem);
    }
    std::string text;
    for (const std::string& part : writer.Finish()) {
        text += part;
    }
    return text;
}

Exchange ReadExchange(std::string_view content, std::string_view fileName,
                      const ExchangeText& text) {
    nlohmann::json root;
    try {
        try {
            root = nlohmann::json::parse(content);
        } catch (const nlohmann::json::out_of_range&) {  // a number beyond a double
            root = nlohmann::json::parse(WithFiniteNumbers(content));
        }
    } catch (const nlohmann::json::exception& error) {
        text.Raise(errors::kNotJson, {fileName, error.what()});
    }
    const StrictReader reader(fileName, text);
    reader.Object(root, text.Text("the top level"));
    const int32_t format = reader.Integer(root, "", "format");
    if (format != kExchangeFormat) {
        text.Raise(errors::kFormatVersion, {fileName, format, kExchangeFormat});
    }
    Exchange exchange{
        ReadList<GroupItem>(reader, root, "groups", "group", ReadGroup, fileName, text),
        ReadList<SubSystemItem>(reader, root, "subsystems", "subsystem", ReadSubSystem, fileName,
                                text),
        std::nullopt};
    // The history's head is what the export saw; an export without one is no less complete.
    const auto history = root.find("history");
    if (history != root.end() && history->is_object() && history->contains("change") &&
        history->contains("seal") && (*history)["change"].is_number_integer() &&
        (*history)["seal"].is_string()) {
        exchange.history =
            ChainHead{(*history)["change"].get<int64_t>(), (*history)["seal"].get<std::string>()};
    }
    return exchange;
}

}  // namespace quarn::subsysmgr::exchange
