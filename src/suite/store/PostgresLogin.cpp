#include "suite/store/PostgresLogin.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "suite/store/EngineErrors.h"
#include "suite/store/LibPq.h"

namespace quarn::suite {

namespace {

bool IsSqlStateCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

// A connection attempt and what it showed of the server on the way.
struct Attempt {
    pg_conn* conn = nullptr;
    bool serverAnswered = false;
};

// The value of a connection option in effect, or "".
std::string OptionOf(pg_conn* conn, std::string_view keyword) {
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> options(Pq().PQconninfo(conn),
                                                                           Pq().PQconninfoFree);
    for (const PQconninfoOption* option = options.get(); option && option->keyword; ++option) {
        if (keyword == option->keyword) {
            return option->val ? option->val : "";
        }
    }
    return {};
}

// Whether a connection in progress got as far as the server: past making the socket connection
// (or moving on to the next host), and not failed.
bool Answered(ConnStatusType status) {
    return status != CONNECTION_STARTED && status != CONNECTION_NEEDED && status != CONNECTION_BAD;
}

// Drives a started connection to its end. The server's refusals are written as severity and
// SQLSTATE only, so that the code can be read whatever language the server speaks.
// connect_timeout bounds each wait as it bounds PQconnectdb's.
Attempt Complete(pg_conn* conn) {
    Attempt attempt{conn};
    if (!conn || Pq().PQstatus(conn) == CONNECTION_BAD) {
        return attempt;
    }
    Pq().PQsetErrorVerbosity(conn, PQERRORS_SQLSTATE);
    attempt.serverAnswered = Answered(Pq().PQstatus(conn));
    const int timeoutSeconds = std::atoi(OptionOf(conn, "connect_timeout").c_str());
    const int timeoutMs = timeoutSeconds > 0 ? std::max(timeoutSeconds, 2) * 1000 : -1;
    PostgresPollingStatusType status = PGRES_POLLING_WRITING;
    while (status != PGRES_POLLING_OK && status != PGRES_POLLING_FAILED) {
        pollfd socket{Pq().PQsocket(conn),
                      static_cast<short>(status == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        const int ready = ::poll(&socket, 1, timeoutMs);
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            break;
        }
        status = Pq().PQconnectPoll(conn);
        attempt.serverAnswered = attempt.serverAnswered || Answered(Pq().PQstatus(conn));
    }
    if (status == PGRES_POLLING_OK) {
        Pq().PQsetErrorVerbosity(conn, PQERRORS_DEFAULT);
    }
    return attempt;
}

bool Succeeded(const Attempt& attempt) {
    return attempt.conn && Pq().PQstatus(attempt.conn) == CONNECTION_OK;
}

std::string SqlStateOf(const Attempt& attempt) {
    return attempt.conn ? SqlStateOfLoginMessage(Pq().PQerrorMessage(attempt.conn)) : "";
}

// Whether the connection with SSL required gets past a refusal that the same one without SSL
// met: then the server admits the role over SSL only.
bool AdmittedOverSsl(const std::string& conninfo) {
    const char* keywords[] = {"dbname", "sslmode", nullptr};
    const char* values[] = {conninfo.c_str(), "require", nullptr};
    const Attempt probe = Complete(Pq().PQconnectStartParams(keywords, values, 1));
    const std::string sqlState = SqlStateOf(probe);
    const bool admitted = Succeeded(probe) || (!sqlState.empty() && sqlState != "28000");
    Pq().PQfinish(probe.conn);
    return admitted;
}

}  // namespace

std::string SqlStateOfLoginMessage(std::string_view message) {
    std::string found;
    std::size_t start = 0;
    while (start < message.size()) {
        const std::size_t end = std::min(message.find('\n', start), message.size());
        std::string_view line = message.substr(start, end - start);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        constexpr std::size_t kLength = 5;
        if (line.size() > kLength + 3 && line.substr(line.size() - kLength - 3, 3) == ":  ") {
            const std::string_view code = line.substr(line.size() - kLength);
            bool valid = true;
            for (const char c : code) {
                valid = valid && IsSqlStateCharacter(c);
            }
            if (valid) {
                found = code;
            }
        }
        start = end + 1;
    }
    return found;
}

pg_conn* ConnectPostgres(const std::string& conninfo, const DatabaseName& description) {
    const Attempt attempt = Complete(Pq().PQconnectStart(conninfo.c_str()));
    if (Succeeded(attempt)) {
        return attempt.conn;
    }
    const std::string sqlState = SqlStateOf(attempt);
    const std::string sslMode = attempt.conn ? OptionOf(attempt.conn, "sslmode") : "";
    LoginFailure login{sqlState, attempt.conn && Pq().PQconnectionNeedsPassword(attempt.conn) == 1,
                       attempt.serverAnswered, sslMode};
    Pq().PQfinish(attempt.conn);
    // Only a connection that turned SSL off can be refused for want of it: "allow" and
    // "prefer" try SSL themselves.
    login.onlyOverSsl = sqlState == "28000" && sslMode == "disable" && AdmittedOverSsl(conninfo);
    const EngineFailure failure = ClassifyPostgresLoginFailure(login);
    if (sqlState.empty()) {
        RaiseStoreError(failure.error, "Database", failure.messageTemplate, description, sslMode);
    }
    throw StoreFailure(failure.error, "Database", failure.messageTemplate, description, sslMode,
                       sqlState);
}

}  // namespace quarn::suite
