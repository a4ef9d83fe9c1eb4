#pragma once

#include "host/IDatasUpdate.h"

namespace quarn::subsysmgr {

/// One item's writes as a unit: begins a transaction on construction and rolls it back on
/// destruction unless Commit was called. Never throws from its destructor.
class UpdateTransaction {
  public:
    explicit UpdateTransaction(IDatasUpdate& update) : update_(update) {
        update_.BeginTransaction();
    }
    ~UpdateTransaction() {
        if (committed_) {
            return;
        }
        try {
            update_.RollbackTransaction();
        } catch (...) {
            // The error that ended the writes is the one the caller needs to see.
        }
    }
    UpdateTransaction(const UpdateTransaction&) = delete;
    UpdateTransaction& operator=(const UpdateTransaction&) = delete;

    void Commit() {
        update_.CommitTransaction();
        committed_ = true;
    }

  private:
    IDatasUpdate& update_;
    bool committed_ = false;
};

}  // namespace quarn::subsysmgr
