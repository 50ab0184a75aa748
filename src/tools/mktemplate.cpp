// Builds a SQLite database from SQL text files: mktemplate OUT.db FILE.sql...
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.db FILE.sql...\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const std::string tmp = out + ".building";
    std::remove(tmp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "cannot create %s: %s\n", tmp.c_str(), sqlite3_errmsg(db));
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            sqlite3_close(db);
            return 1;
        }
        std::stringstream ss;
        ss << in.rdbuf();
        char* err = nullptr;
        if (sqlite3_exec(db, ss.str().c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "%s: %s\n", argv[i], err ? err : "error");
            sqlite3_free(err);
            sqlite3_close(db);
            std::remove(tmp.c_str());
            return 1;
        }
    }
    sqlite3_exec(db, "VACUUM", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (std::rename(tmp.c_str(), out.c_str()) != 0) {
        std::perror("rename");
        return 1;
    }
    return 0;
}
