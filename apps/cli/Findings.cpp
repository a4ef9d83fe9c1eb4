#include "Findings.h"

#include "Printable.h"

namespace quarn::subsysmgr::cli {

Json FindingJson(const exchange::TreeFinding& finding) {
    Json json{{"kind", finding.kind}};
    if (finding.kind != "database") {
        json["id"] = finding.id;
    }
    json["item"] = finding.item;
    json["rule"] = finding.rule;
    json["ruleText"] = *finding.ruleText;
    json["field"] = finding.field.empty() ? Json(nullptr) : Json(finding.field);
    json["error"] = finding.error == 0 ? Json(nullptr) : Json(finding.error);
    json["message"] = *finding.message;
    json["remedy"] = *finding.remedy;
    return json;
}

std::string FindingLine(const exchange::TreeFinding& finding) {
    return Printable(finding.item) + ": " + *finding.ruleText + ": " + Printable(*finding.message) +
           " " + *finding.remedy;
}

}  // namespace quarn::subsysmgr::cli
