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

// A function of `Library` by its name in the library and the member it goes to.
template <class Library, class Function> struct Named {
    const char* Name;
    Function Library::*Member;
};

// Every function of `Library` looked up in the library `libraryName`, or nothing.
template <class Library, class... Functions>
std::optional<Library> LoadFunctions(const char* libraryName, std::string& error,
                                     Named<Library, Functions>... functions) {
    void* library = OpenLibrary(libraryName, error);
    if (library == nullptr)
        return std::nullopt;
    Library found;
    if ((Find(library, libraryName, functions.Name, found.*functions.Member, error) && ...))
        return found;
    return std::nullopt;
}

template <class Library, class Function>
Named<Library, Function> NamedFunction(const char* name, Function Library::*member) {
    return {name, member};
}

} // namespace

std::optional<SqliteLibrary> LoadSqliteLibrary(std::string& error) {
    using L = SqliteLibrary;
    return LoadFunctions<L>(
        "libsqlite3.so.0", error, NamedFunction("sqlite3_open_v2", &L::OpenV2),
        NamedFunction("sqlite3_close", &L::Close),
        NamedFunction("sqlite3_prepare_v2", &L::PrepareV2), NamedFunction("sqlite3_step", &L::Step),
        NamedFunction("sqlite3_reset", &L::Reset), NamedFunction("sqlite3_finalize", &L::Finalize),
        NamedFunction("sqlite3_errmsg", &L::ErrorMessage),
        NamedFunction("sqlite3_bind_int64", &L::BindInt64),
        NamedFunction("sqlite3_bind_blob64", &L::BindBlob64),
        NamedFunction("sqlite3_bind_text64", &L::BindText64),
        NamedFunction("sqlite3_column_int64", &L::ColumnInt64),
        NamedFunction("sqlite3_column_blob", &L::ColumnBlob),
        NamedFunction("sqlite3_column_bytes", &L::ColumnBytes));
}

std::optional<PostgresLibrary> LoadPostgresLibrary(std::string& error) {
    using L = PostgresLibrary;
    return LoadFunctions<L>(
        "libpq.so.5", error, NamedFunction("PQexec", &L::Exec),
        NamedFunction("PQputCopyData", &L::PutCopyData),
        NamedFunction("PQputCopyEnd", &L::PutCopyEnd), NamedFunction("PQgetResult", &L::GetResult),
        NamedFunction("PQresultStatus", &L::ResultStatus),
        NamedFunction("PQresultErrorMessage", &L::ResultErrorMessage),
        NamedFunction("PQerrorMessage", &L::ErrorMessage), NamedFunction("PQclear", &L::Clear));
}

} // namespace qla::db
