#include "storage/Schema.h"

#include "storage/SqlStatement.h"

namespace tonara {

const std::string &Schema::templateSql()
{
    static const std::string sql =
#include "storage/TonaraDockSchema.inc"
        ;
    return sql;
}

SqlStatus Schema::createTemplate(sqlite3 *db)
{
    const std::string script = "BEGIN;\n" + templateSql() +
                               "\nPRAGMA user_version = " + std::to_string(kUserVersion) + ";\nCOMMIT;\n";
    SqlStatus status = SqlStatement::exec(db, script);
    if (!status.ok())
        SqlStatement::exec(db, "ROLLBACK;");
    return status;
}

} // namespace tonara
