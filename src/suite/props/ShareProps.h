#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "host/IShareProps.h"

namespace quarn::suite {

/// PropsMgr.ShareProps: the shared properties of this process. Every instance reads and writes
/// one process-wide table keyed by process id and name, so what the host stores is seen by
/// every component that creates its own instance. Thread-safe.
class ShareProps : public IShareProps {
  public:
    Variant GetProperty(int32_t processId, const std::string& name) override;
    void SetProperty(int32_t processId, const std::string& name, Variant value) override;

  private:
    struct Table {
        std::mutex mutex;
        std::map<std::pair<int32_t, std::string>, Variant> values;
    };
    static Table& SharedTable();
};

}  // namespace quarn::suite
