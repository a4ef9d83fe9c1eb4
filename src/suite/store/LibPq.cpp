#include "suite/store/LibPq.h"

#include <dlfcn.h>

#include <optional>
#include <string>

#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

// The soname of the libpq whose header this program was built with; libpq keeps it across
// PostgreSQL releases.
constexpr const char* kLibPqSoname = "libpq.so.5";

constexpr std::string_view kLibPqMissing =
    "无法加载 PostgreSQL 客户端库 %1（%2），只能使用 SQLite 数据库。";

template <class Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

// The library and every function, or the loader's message.
struct Loaded {
    std::optional<LibPq> functions;
    std::string failure;
};

Loaded Load() {
    // Never closed: connections live until the process ends.
    void* library = ::dlopen(kLibPqSoname, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* message = ::dlerror();
        return {std::nullopt, message ? message : kLibPqSoname};
    }
    LibPq pq;
#define QUARN_RESOLVE(name)                  \
    if (!Resolve(library, #name, pq.name)) { \
        return {std::nullopt, "no " #name};  \
    }
    QUARN_RESOLVE(PQconnectStart)
    QUARN_RESOLVE(PQconnectStartParams)
    QUARN_RESOLVE(PQconnectPoll)
    QUARN_RESOLVE(PQsetErrorVerbosity)
    QUARN_RESOLVE(PQerrorMessage)
    QUARN_RESOLVE(PQconninfo)
    QUARN_RESOLVE(PQstatus)
    QUARN_RESOLVE(PQconnectionNeedsPassword)
    QUARN_RESOLVE(PQfinish)
    QUARN_RESOLVE(PQsetNoticeProcessor)
    QUARN_RESOLVE(PQsocket)
    QUARN_RESOLVE(PQconsumeInput)
    QUARN_RESOLVE(PQnotifies)
    QUARN_RESOLVE(PQfreemem)
    QUARN_RESOLVE(PQexec)
    QUARN_RESOLVE(PQexecParams)
    QUARN_RESOLVE(PQprepare)
    QUARN_RESOLVE(PQexecPrepared)
    QUARN_RESOLVE(PQresultStatus)
    QUARN_RESOLVE(PQresultErrorField)
    QUARN_RESOLVE(PQclear)
    QUARN_RESOLVE(PQntuples)
    QUARN_RESOLVE(PQnfields)
    QUARN_RESOLVE(PQfname)
    QUARN_RESOLVE(PQftype)
    QUARN_RESOLVE(PQgetisnull)
    QUARN_RESOLVE(PQgetvalue)
    QUARN_RESOLVE(PQgetlength)
    QUARN_RESOLVE(PQcmdTuples)
    QUARN_RESOLVE(PQconninfoParse)
    QUARN_RESOLVE(PQconninfoFree)
#undef QUARN_RESOLVE
    return {pq, {}};
}

}  // namespace

const LibPq& Pq() {
    static const Loaded kLoaded = Load();
    if (!kLoaded.functions) {
        RaiseStoreError(StoreError::Unavailable, "PostgreSQL", kLibPqMissing, kLibPqSoname,
                        kLoaded.failure);
    }
    return *kLoaded.functions;
}

}  // namespace quarn::suite
