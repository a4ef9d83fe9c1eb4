#include "exchange/ItemJson.h"

namespace quarn::subsysmgr::exchange {

Json ToJson(const Names& names) {
    return Json{{"CHS", names.chs}, {"CHT", names.cht}, {"EN", names.en}};
}

Json ToJson(const GroupItem& group) {
    return Json{{"id", group.id},       {"names", ToJson(group.names)},
                {"index", group.index}, {"visible", group.visible},
                {"web", group.web},     {"accountTypes", group.accountTypes}};
}

Json ToJson(const SubSystemItem& subSystem) {
    return Json{{"id", subSystem.id},         {"group", subSystem.group},
                {"number", subSystem.number}, {"names", ToJson(subSystem.names)},
                {"index", subSystem.index},   {"visible", subSystem.visible},
                {"web", subSystem.web},       {"accountTypes", subSystem.accountTypes}};
}

}  // namespace quarn::subsysmgr::exchange
