#pragma once

#include <string>

#include "quarn/foundation/Recordset.h"
#include "quarn/foundation/Vector.h"
#include "quarn/host/Component.h"

namespace quarn {

/// QuarnMClass.ClassInfo: class information and free read-only queries. Created for one call.
class IClassInfo : public virtual Component {
  public:
    /// Runs a query; the Recordset is open (State non-zero) when the query ran.
    virtual RecordsetPtr GetData(const std::string& propsString, const std::string& sql) = 0;
    /// The business-object types of ICClassType that the selection text admits, as a Vector of
    /// Dictionaries.
    virtual VectorPtr GetClassType(const std::string& propsString,
                                   const std::string& selection) = 0;
};

}  // namespace quarn
