// Looking the functions up with dlopen and dlsym, by the libraries' ABI names.
#include "db/engine_libraries.h"

#include <dlfcn.h>

namespace qla::db {
namespace {

// The library by its ABI name: the one in the process if there is one, else loaded now. Never
// closed: the functions looked up in it must outlive every caller.
void* OpenLibrary(const char* name, std::string& error) {
    void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (library == nullptr)
        library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = std::string("cannot load ") + name + (reason ? std::string(": ") + reason : "");
    }
    return library;
}

// Looks `name` up in `library` into `function`; false, with the reason in `error`, when it is
// not there.
template <class Function>
bool Find(void* library, const char* libraryName, const char* name, Function& function,
          std::string& error) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (function == nullptr && error.empty())
        error = std::string(libraryName) + " has no " + name;
    return function != nullptr;
}

} // namespace

std::optional<SqliteLibrary> LoadSqliteLibrary(std::string& error) {
    static constexpr const char* kName = "libsqlite3.so.0";
    void* library = OpenLibrary(kName, error);
    if (library == nullptr)
        return std::nullopt;
    SqliteLibrary found;
    const auto find = [&](const char* name, auto& function) {
        return Find(library, kName, name, function, error);
    };
    if (find("sqlite3_open_v2", found.OpenV2) && find("sqlite3_close", found.Close) &&
        find("sqlite3_prepare_v2", found.PrepareV2) && find("sqlite3_step", found.Step) &&
        find("sqlite3_reset", found.Reset) && find("sqlite3_finalize", found.Finalize) &&
        find("sqlite3_errmsg", found.ErrorMessage) && find("sqlite3_bind_int64", found.BindInt64) &&
        find("sqlite3_bind_blob64", found.BindBlob64) &&
        find("sqlite3_bind_text64", found.BindText64) &&
        find("sqlite3_column_int64", found.ColumnInt64) &&
        find("sqlite3_column_blob", found.ColumnBlob) &&
        find("sqlite3_column_bytes", found.ColumnBytes))
        return found;
    return std::nullopt;
}

std::optional<PostgresLibrary> LoadPostgresLibrary(std::string& error) {
    static constexpr const char* kName = "libpq.so.5";
    void* library = OpenLibrary(kName, error);
    if (library == nullptr)
        return std::nullopt;
    PostgresLibrary found;
    const auto find = [&](const char* name, auto& function) {
        return Find(library, kName, name, function, error);
    };
    if (find("PQexec", found.Exec) && find("PQputCopyData", found.PutCopyData) &&
        find("PQputCopyEnd", found.PutCopyEnd) && find("PQgetResult", found.GetResult) &&
        find("PQresultStatus", found.ResultStatus) &&
        find("PQresultErrorMessage", found.ResultErrorMessage) &&
        find("PQerrorMessage", found.ErrorMessage) && find("PQclear", found.Clear))
        return found;
    return std::nullopt;
}

} // namespace qla::db
