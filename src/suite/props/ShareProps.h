#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "host/IShareProps.h"

namespace quarn::suite {

/// PropsMgr.ShareProps: the shared properties of one session. Every instance the session's
/// registry creates reads and writes the session's one table, keyed by process id and name, so
/// what the host stores is seen by every component of that session and by no other session.
/// Thread-safe.
class ShareProps : public IShareProps {
  public:
    struct Table {
        std::mutex mutex;
        std::map<std::pair<int32_t, std::string>, Variant> values;
    };

    explicit ShareProps(std::shared_ptr<Table> table) : table_(std::move(table)) {}

    Variant GetProperty(int32_t processId, const std::string& name) override;
    void SetProperty(int32_t processId, const std::string& name, Variant value) override;

  private:
    std::shared_ptr<Table> table_;
};

}  // namespace quarn::suite
