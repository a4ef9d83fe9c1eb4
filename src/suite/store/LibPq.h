#pragma once

#include <libpq-fe.h>

namespace quarn::suite {

/// The functions of libpq this program calls, loaded from the library on the first use of a
/// PostgreSQL connection string: libpq and the libraries it brings (TLS, Kerberos, LDAP) cost
/// half the start of a command that only opens an SQLite file.
struct LibPq {
#define QUARN_LIBPQ_FUNCTION(name) decltype(&::name) name = nullptr
    QUARN_LIBPQ_FUNCTION(PQconnectStart);
    QUARN_LIBPQ_FUNCTION(PQconnectStartParams);
    QUARN_LIBPQ_FUNCTION(PQconnectPoll);
    QUARN_LIBPQ_FUNCTION(PQsetErrorVerbosity);
    QUARN_LIBPQ_FUNCTION(PQerrorMessage);
    QUARN_LIBPQ_FUNCTION(PQconninfo);
    QUARN_LIBPQ_FUNCTION(PQstatus);
    QUARN_LIBPQ_FUNCTION(PQconnectionNeedsPassword);
    QUARN_LIBPQ_FUNCTION(PQfinish);
    QUARN_LIBPQ_FUNCTION(PQsetNoticeProcessor);
    QUARN_LIBPQ_FUNCTION(PQsocket);
    QUARN_LIBPQ_FUNCTION(PQconsumeInput);
    QUARN_LIBPQ_FUNCTION(PQnotifies);
    QUARN_LIBPQ_FUNCTION(PQfreemem);
    QUARN_LIBPQ_FUNCTION(PQexec);
    QUARN_LIBPQ_FUNCTION(PQexecParams);
    QUARN_LIBPQ_FUNCTION(PQprepare);
    QUARN_LIBPQ_FUNCTION(PQexecPrepared);
    QUARN_LIBPQ_FUNCTION(PQresultStatus);
    QUARN_LIBPQ_FUNCTION(PQresultErrorField);
    QUARN_LIBPQ_FUNCTION(PQclear);
    QUARN_LIBPQ_FUNCTION(PQntuples);
    QUARN_LIBPQ_FUNCTION(PQnfields);
    QUARN_LIBPQ_FUNCTION(PQfname);
    QUARN_LIBPQ_FUNCTION(PQftype);
    QUARN_LIBPQ_FUNCTION(PQgetisnull);
    QUARN_LIBPQ_FUNCTION(PQgetvalue);
    QUARN_LIBPQ_FUNCTION(PQgetlength);
    QUARN_LIBPQ_FUNCTION(PQcmdTuples);
    QUARN_LIBPQ_FUNCTION(PQconninfoParse);
    QUARN_LIBPQ_FUNCTION(PQconninfoFree);
#undef QUARN_LIBPQ_FUNCTION
};

/// libpq, loaded once per process. Raises StoreError::Unavailable when the library or one of its
/// functions cannot be found.
const LibPq& Pq();

}  // namespace quarn::suite
