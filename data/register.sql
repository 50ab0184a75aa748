-- Register database tobriv1.mdb: the declarations.

BEGIN;

-- Declarations: one row per instruction, CNPJ and period.
CREATE TABLE IF NOT EXISTS tbempresariosImportados (
    INarquivo       INTEGER NOT NULL,   -- normative instruction, 68 or 86
    CNPJ            TEXT    NOT NULL,   -- 99.999.999/9999-99
    periodoinicial  TEXT    NOT NULL,   -- yyyy-mm-dd
    periodofinal    TEXT    NOT NULL,   -- yyyy-mm-dd
    Nome            TEXT                -- company name
);
CREATE UNIQUE INDEX IF NOT EXISTS tbempresariosImportados_Chave
    ON tbempresariosImportados (INarquivo, CNPJ, periodoinicial, periodofinal);

COMMIT;
