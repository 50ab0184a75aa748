-- Template declaration database TOBRI.MDB: every table of a declaration
-- database and its reference rows. Staging tables are created by the import.

BEGIN;

-- Declarations: one row per instruction, CNPJ and period.
CREATE TABLE tbempresariosImportados (
    INarquivo       INTEGER NOT NULL,   -- normative instruction, 68 or 86
    CNPJ            TEXT    NOT NULL,   -- 99.999.999/9999-99
    periodoinicial  TEXT    NOT NULL,   -- yyyy-mm-dd
    periodofinal    TEXT    NOT NULL,   -- yyyy-mm-dd
    Nome            TEXT                -- company name
);
CREATE UNIQUE INDEX tbempresariosImportados_Chave
    ON tbempresariosImportados (INarquivo, CNPJ, periodoinicial, periodofinal);

-- Import status of each file of the declaration.
CREATE TABLE tbImportados (
    INarquivo       INTEGER NOT NULL,
    CNPJ            TEXT    NOT NULL,
    periodoinicial  TEXT    NOT NULL,   -- yyyy-mm-dd
    periodofinal    TEXT    NOT NULL,   -- yyyy-mm-dd
    Tipo            INTEGER NOT NULL,   -- file type 1..9
    Situacao        INTEGER,            -- 90, 777, 0, 53..57, 100
    RegLidos        INTEGER,
    RegCorretos     INTEGER,
    RegErros        INTEGER,
    NomeArquivo     TEXT,               -- accepted copy, or a single blank
    ArquivoGerado   TEXT,               -- delivered data file, or a single blank
    DigestoCopia    TEXT,               -- XXH3-128 (hex) of the accepted copy, as written
    DigestoLay      TEXT                -- XXH3-128 (hex) of its .lay, as written
);
CREATE UNIQUE INDEX tbImportados_Chave
    ON tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo);

-- Working layout of the file type in hand.
CREATE TABLE TbleiauteDIG (
    codsequ         INTEGER,
    INarquivo       INTEGER,
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- ddmmyyyy
    periodofinal    TEXT,               -- ddmmyyyy
    TipoArquivo     INTEGER,
    NomeCampo       TEXT,
    NomeReduzido    TEXT,               -- at most 15 characters
    PosicaoInicial  INTEGER,
    Tamanho         INTEGER,
    Decimais        INTEGER,
    tipo            TEXT                -- ASCII or NUMERIC
);

-- Standard layouts per instruction and file type.
CREATE TABLE Tbleiautepadrao (
    Codsequ         INTEGER,            -- field id, ascending in record order
    INarquivo       INTEGER,
    TipoArquivo     INTEGER,
    NomeCampo       TEXT,
    NomeReduzido    TEXT,               -- at most 15 characters
    PosicaoInicial  INTEGER,
    Tamanho         INTEGER,
    Decimais        INTEGER,
    tipo            TEXT                -- ASCII or NUMERIC
);

-- File type names and the abbreviations of the delivery file names.
CREATE TABLE tbTipoArquivos (
    TipoArquivo     INTEGER,
    Descricao       TEXT,
    NomeAbrev       TEXT
);

-- Texts of the import error codes and of the file statuses.
CREATE TABLE TbDescricaoErro (
    CodigoErro                  INTEGER,
    Descricao                   TEXT,
    CodigoResultadoImportacao   INTEGER -- status whose text the summary shows
);

-- Import errors counted per code and file type.
CREATE TABLE TbErrosImportacao (
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- ddmmyyyy
    periodofinal    TEXT,               -- ddmmyyyy
    TipoArquivo     INTEGER,
    CodigoErro      INTEGER,
    QuantidadeReg   INTEGER
);

-- Import errors listed per record.
CREATE TABLE tbDetalheErros (
    Quebra          INTEGER,            -- page group
    INarquivo       INTEGER,
    TipoArquivo     INTEGER,
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    NroRegistro     INTEGER,            -- 1-based record number
    CodigoErro      INTEGER,
    ativo           INTEGER DEFAULT 0   -- 1: row of the file type being printed
);

-- One row per validation check outcome.
CREATE TABLE tbSituacaoValidacao (
    TipoArquivo     INTEGER,            -- 6, 8 or 9
    TipoValidacao   INTEGER,            -- check 1..5
    CodigoErro      INTEGER,            -- 0 or 53..57
    RegLidos        INTEGER,
    RegCorretos     INTEGER,
    RegComErro      INTEGER,
    RegFaltantes    INTEGER             -- check 3 only
);

-- Journal entry totals of the last validation (money in 1/10000).
CREATE TABLE tbLancamentosAcumulados (
    quebra          INTEGER,
    Tipo            INTEGER,            -- 1 general journal
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    TotalCreditos   INTEGER,
    TotalDebitos    INTEGER,
    Diferenca       INTEGER             -- debits minus credits
);

-- One row while the stored results are those of a completed validation run:
-- written with the run's statuses, removed by the reset that starts a run.
CREATE TABLE tbValidacaoConcluida (
    Concluida       INTEGER             -- 1
);

-- Monthly balances whose closing balance does not add up (money in 1/10000).
CREATE TABLE tbSaldoFinal (
    quebra          INTEGER,            -- page group
    Tipo            INTEGER,            -- 1 general, 2 auxiliary
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    Mes             TEXT,               -- mm
    Ano             TEXT,               -- yyyy
    Conta           TEXT,
    SaldoFinal      INTEGER,            -- informed, credit negative
    Saldofinalcalc  INTEGER,            -- calculated
    Diferenca       INTEGER             -- calculated minus informed
);

-- Opening balances that do not continue the previous month (money in 1/10000).
CREATE TABLE tbSaldoInicial (
    quebra          INTEGER,
    Tipo            INTEGER,            -- 1 general, 2 auxiliary
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    Mes             TEXT,               -- mm
    Ano             TEXT,               -- yyyy
    Conta           TEXT,
    SaldofinalAnt   INTEGER,            -- previous closing balance
    SaldoInicial    INTEGER,            -- opening balance
    Diferenca       INTEGER             -- opening minus previous closing
);

-- Entries against balance movements per account and month (money in 1/10000).
CREATE TABLE tbLancamentoXsaldo (
    Quebra          INTEGER,            -- page group
    IndDC           TEXT,               -- D debits, C credits
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    Mes             TEXT,               -- mm
    Ano             TEXT,               -- yyyy
    CodConta        TEXT,
    TotalLancamentos INTEGER,
    TotalCredDeb    INTEGER,
    Diferenca       INTEGER             -- entries minus balance movement
);

-- Links of the company's accounts to the standard chart.
CREATE TABLE tbContasVinculadas (
    INarquivo       INTEGER,
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    Contapadrao     TEXT,               -- standard account code
    ContaContrib    TEXT,               -- company account code, trimmed
    descricaoContrib TEXT
);

-- Standard chart of accounts.
CREATE TABLE TbPlanocontasPadrao (
    Codconta        TEXT,               -- at most 6 characters
    descricao       TEXT
);

-- Lines of the tracking report, emptied after each print.
CREATE TABLE tbAcompanhamento (
    INarquivo       INTEGER,
    CNPJ            TEXT,
    periodoinicial  TEXT,               -- yyyy-mm-dd
    periodofinal    TEXT,               -- yyyy-mm-dd
    tipo            INTEGER,
    NomeArquivo     TEXT,
    QtdPaginas      INTEGER,
    RegistroDump    TEXT,               -- one printed line
    QtdVolumes      INTEGER,
    QtdRegistros    INTEGER,
    Tamanho         INTEGER,            -- file size in bytes
    codsequ         INTEGER PRIMARY KEY AUTOINCREMENT -- insertion order
);

-- Standard layouts: ids in record order, starts contiguous from 1.
-- instruction 68, file type 1: record of 89 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 1, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (2, 68, 1, 'Código da Tabela', 'CodTab', 9, 3, 0, 'ASCII'),
    (3, 68, 1, 'Código da Conta', 'CodConta', 12, 28, 0, 'ASCII'),
    (7, 68, 1, 'Descrição da Conta', 'DescConta', 40, 50, 0, 'ASCII');
-- instruction 68, file type 2: record of 89 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 2, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (2, 68, 2, 'Código da Tabela', 'CodTab', 9, 3, 0, 'ASCII'),
    (3, 68, 2, 'Código da Conta', 'CodConta', 12, 28, 0, 'ASCII'),
    (7, 68, 2, 'Descrição da Conta', 'DescConta', 40, 50, 0, 'ASCII');
-- instruction 68, file type 3: record of 89 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 3, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (2, 68, 3, 'Código da Tabela', 'CodTab', 9, 3, 0, 'ASCII'),
    (4, 68, 3, 'Código do Centro de Custos', 'CodCusto', 12, 28, 0, 'ASCII'),
    (7, 68, 3, 'Descrição do Centro de Custos', 'DescCusto', 40, 50, 0, 'ASCII');
-- instruction 68, file type 4: record of 89 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 4, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (2, 68, 4, 'Código da Tabela', 'CodTab', 9, 3, 0, 'ASCII'),
    (4, 68, 4, 'Código do Centro de Despesas', 'CodDespesa', 12, 28, 0, 'ASCII'),
    (7, 68, 4, 'Descrição do Centro de Despesas', 'DescDesp', 40, 50, 0, 'ASCII');
-- instruction 68, file type 5: record of 89 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 5, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (2, 68, 5, 'Código da Tabela', 'CodTab', 9, 3, 0, 'ASCII'),
    (4, 68, 5, 'Código do Histórico Padrão', 'CodHistPad', 12, 28, 0, 'ASCII'),
    (7, 68, 5, 'Descrição do Histórico Padrão', 'DescHistPad', 40, 50, 0, 'ASCII');
-- instruction 68, file type 6: record of 328 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 6, 'Data do Lançamento', 'DataLanc', 1, 8, 0, 'ASCII'),
    (2, 68, 6, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 68, 6, 'Valor do Lançamento', 'Valor', 37, 17, 2, 'NUMERIC'),
    (4, 68, 6, 'Indicador de Débito/Crédito', 'IndDC', 54, 1, 0, 'ASCII'),
    (5, 68, 6, 'Conta de Contrapartida', 'Contrapartida', 55, 28, 0, 'ASCII'),
    (6, 68, 6, 'Número do Lançamento', 'NumLanc', 83, 12, 0, 'ASCII'),
    (7, 68, 6, 'Código do Centro de Custos', 'CodCusto', 95, 28, 0, 'ASCII'),
    (8, 68, 6, 'Código do Centro de Despesas', 'CodDespesa', 123, 28, 0, 'ASCII'),
    (9, 68, 6, 'Código do Histórico Padrão', 'CodHistPad', 151, 28, 0, 'ASCII'),
    (10, 68, 6, 'Histórico', 'Historico', 179, 150, 0, 'ASCII');
-- instruction 68, file type 7: record of 328 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 7, 'Data do Lançamento', 'DataLanc', 1, 8, 0, 'ASCII'),
    (2, 68, 7, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 68, 7, 'Valor do Lançamento', 'Valor', 37, 17, 2, 'NUMERIC'),
    (4, 68, 7, 'Indicador de Débito/Crédito', 'IndDC', 54, 1, 0, 'ASCII'),
    (5, 68, 7, 'Conta de Contrapartida', 'Contrapartida', 55, 28, 0, 'ASCII'),
    (6, 68, 7, 'Número do Lançamento', 'NumLanc', 83, 12, 0, 'ASCII'),
    (7, 68, 7, 'Código do Centro de Custos', 'CodCusto', 95, 28, 0, 'ASCII'),
    (8, 68, 7, 'Código do Centro de Despesas', 'CodDespesa', 123, 28, 0, 'ASCII'),
    (9, 68, 7, 'Código do Histórico Padrão', 'CodHistPad', 151, 28, 0, 'ASCII'),
    (10, 68, 7, 'Histórico', 'Historico', 179, 150, 0, 'ASCII');
-- instruction 68, file type 8: record of 106 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 8, 'Data do Saldo Inicial', 'DataSaldoIni', 1, 8, 0, 'ASCII'),
    (2, 68, 8, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 68, 8, 'Valor do Saldo Inicial', 'ValorSaldoIni', 37, 17, 2, 'NUMERIC'),
    (4, 68, 8, 'Indicador D/C do Saldo Inicial', 'IndDCSaldoIni', 54, 1, 0, 'ASCII'),
    (5, 68, 8, 'Valor dos Débitos', 'ValorDebitos', 55, 17, 2, 'NUMERIC'),
    (6, 68, 8, 'Valor dos Créditos', 'ValorCreditos', 72, 17, 2, 'NUMERIC'),
    (7, 68, 8, 'Valor do Saldo Final', 'ValorSaldoFin', 89, 17, 2, 'NUMERIC'),
    (8, 68, 8, 'Indicador D/C do Saldo Final', 'IndDCSaldoFin', 106, 1, 0, 'ASCII');
-- instruction 68, file type 9: record of 106 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 68, 9, 'Data do Saldo Inicial', 'DataSaldoIni', 1, 8, 0, 'ASCII'),
    (2, 68, 9, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 68, 9, 'Valor do Saldo Inicial', 'ValorSaldoIni', 37, 17, 2, 'NUMERIC'),
    (4, 68, 9, 'Indicador D/C do Saldo Inicial', 'IndDCSaldoIni', 54, 1, 0, 'ASCII'),
    (5, 68, 9, 'Valor dos Débitos', 'ValorDebitos', 55, 17, 2, 'NUMERIC'),
    (6, 68, 9, 'Valor dos Créditos', 'ValorCreditos', 72, 17, 2, 'NUMERIC'),
    (7, 68, 9, 'Valor do Saldo Final', 'ValorSaldoFin', 89, 17, 2, 'NUMERIC'),
    (8, 68, 9, 'Indicador D/C do Saldo Final', 'IndDCSaldoFin', 106, 1, 0, 'ASCII');
-- instruction 86, file type 1: record of 115 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 1, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (3, 86, 1, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (5, 86, 1, 'Tipo da Conta', 'TipoConta', 37, 1, 0, 'ASCII'),
    (6, 86, 1, 'Conta Totalizadora', 'CodContaTot', 38, 28, 0, 'ASCII'),
    (7, 86, 1, 'Descrição da Conta', 'DescConta', 66, 50, 0, 'ASCII');
-- instruction 86, file type 2: record of 115 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 2, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (3, 86, 2, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (5, 86, 2, 'Tipo da Conta', 'TipoConta', 37, 1, 0, 'ASCII'),
    (6, 86, 2, 'Conta Totalizadora', 'CodContaTot', 38, 28, 0, 'ASCII'),
    (7, 86, 2, 'Descrição da Conta', 'DescConta', 66, 50, 0, 'ASCII');
-- instruction 86, file type 3: record of 86 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 3, 'Data de Atualização', 'DataAtualiz', 1, 8, 0, 'ASCII'),
    (4, 86, 3, 'Código do Centro de Custos/Despesas', 'CodCustoDesp', 9, 28, 0, 'ASCII'),
    (7, 86, 3, 'Descrição do Centro de Custos/Despesas', 'DescCustoDesp', 37, 50, 0, 'ASCII');
-- instruction 86, file type 6: record of 284 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 6, 'Data do Lançamento', 'DataLanc', 1, 8, 0, 'ASCII'),
    (2, 86, 6, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 86, 6, 'Centro de Custos/Despesas', 'CodCustoDesp', 37, 28, 0, 'ASCII'),
    (4, 86, 6, 'Conta de Contrapartida', 'Contrapartida', 65, 28, 0, 'ASCII'),
    (5, 86, 6, 'Valor do Lançamento', 'Valor', 93, 17, 2, 'NUMERIC'),
    (6, 86, 6, 'Indicador de Débito/Crédito', 'IndDC', 110, 1, 0, 'ASCII'),
    (7, 86, 6, 'Número do Lançamento', 'NumLanc', 111, 12, 0, 'ASCII'),
    (8, 86, 6, 'Número do Arquivamento', 'NumArquivamento', 123, 12, 0, 'ASCII'),
    (9, 86, 6, 'Histórico', 'Historico', 135, 150, 0, 'ASCII');
-- instruction 86, file type 7: record of 284 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 7, 'Data do Lançamento', 'DataLanc', 1, 8, 0, 'ASCII'),
    (2, 86, 7, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 86, 7, 'Centro de Custos/Despesas', 'CodCustoDesp', 37, 28, 0, 'ASCII'),
    (4, 86, 7, 'Conta de Contrapartida', 'Contrapartida', 65, 28, 0, 'ASCII'),
    (5, 86, 7, 'Valor do Lançamento', 'Valor', 93, 17, 2, 'NUMERIC'),
    (6, 86, 7, 'Indicador de Débito/Crédito', 'IndDC', 110, 1, 0, 'ASCII'),
    (7, 86, 7, 'Número do Lançamento', 'NumLanc', 111, 12, 0, 'ASCII'),
    (8, 86, 7, 'Número do Arquivamento', 'NumArquivamento', 123, 12, 0, 'ASCII'),
    (9, 86, 7, 'Histórico', 'Historico', 135, 150, 0, 'ASCII');
-- instruction 86, file type 8: record of 106 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 8, 'Data do Saldo Inicial', 'DataSaldoIni', 1, 8, 0, 'ASCII'),
    (2, 86, 8, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 86, 8, 'Valor do Saldo Inicial', 'ValorSaldoIni', 37, 17, 2, 'NUMERIC'),
    (4, 86, 8, 'Indicador D/C do Saldo Inicial', 'IndDCSaldoIni', 54, 1, 0, 'ASCII'),
    (5, 86, 8, 'Valor dos Débitos', 'ValorDebitos', 55, 17, 2, 'NUMERIC'),
    (6, 86, 8, 'Valor dos Créditos', 'ValorCreditos', 72, 17, 2, 'NUMERIC'),
    (7, 86, 8, 'Valor do Saldo Final', 'ValorSaldoFin', 89, 17, 2, 'NUMERIC'),
    (8, 86, 8, 'Indicador D/C do Saldo Final', 'IndDCSaldoFin', 106, 1, 0, 'ASCII');
-- instruction 86, file type 9: record of 106 characters
INSERT INTO Tbleiautepadrao (Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) VALUES
    (1, 86, 9, 'Data do Saldo Inicial', 'DataSaldoIni', 1, 8, 0, 'ASCII'),
    (2, 86, 9, 'Código da Conta', 'CodConta', 9, 28, 0, 'ASCII'),
    (3, 86, 9, 'Valor do Saldo Inicial', 'ValorSaldoIni', 37, 17, 2, 'NUMERIC'),
    (4, 86, 9, 'Indicador D/C do Saldo Inicial', 'IndDCSaldoIni', 54, 1, 0, 'ASCII'),
    (5, 86, 9, 'Valor dos Débitos', 'ValorDebitos', 55, 17, 2, 'NUMERIC'),
    (6, 86, 9, 'Valor dos Créditos', 'ValorCreditos', 72, 17, 2, 'NUMERIC'),
    (7, 86, 9, 'Valor do Saldo Final', 'ValorSaldoFin', 89, 17, 2, 'NUMERIC'),
    (8, 86, 9, 'Indicador D/C do Saldo Final', 'IndDCSaldoFin', 106, 1, 0, 'ASCII');

INSERT INTO tbTipoArquivos (TipoArquivo, Descricao, NomeAbrev) VALUES
    (1, 'Plano de Contas Diário Geral', 'PLCOG'),
    (2, 'Plano de Contas Diário Auxiliar', 'PLCOA'),
    (3, 'Centro de Custos', 'CENTC'),
    (4, 'Centro de Despesas', 'CENTD'),
    (5, 'Histórico Padrão', 'HISTP'),
    (6, 'Lançamentos Diário Geral', 'LANCG'),
    (7, 'Lançamentos Diário Auxiliar', 'LANCA'),
    (8, 'Saldos Diário Geral', 'SALMG'),
    (9, 'Saldos Diário Auxiliar', 'SALMA');

-- Import error codes lead to status 777; each status names itself.
-- Codes 29, 45, 46 and 47 are never raised.
INSERT INTO TbDescricaoErro (CodigoErro, Descricao, CodigoResultadoImportacao) VALUES
    (1, 'Data de atualização inválida', 777),
    (2, 'Data de atualização não informada ou zerada', 777),
    (3, 'Código da tabela não informado', 777),
    (4, 'Código da tabela inválido ou diferente do código do tipo de arquivo', 777),
    (5, 'Código não informado (conta, centro de custos, centro de despesas ou histórico padrão)', 777),
    (6, 'Descrição não informada', 777),
    (7, 'Tipo da conta não informado', 777),
    (8, 'Tipo da conta inválido: deve ser S (sintética) ou A (analítica); no Plano de Contas Diário Auxiliar, somente A', 777),
    (9, 'Conta analítica sem conta totalizadora', 777),
    (10, 'Conta totalizadora não encontrada no Plano de Contas Diário Geral', 777),
    (11, 'Conta totalizadora com tipo incorreto: deve ser S no Plano de Contas Diário Geral e A no Plano de Contas Diário Auxiliar', 777),
    (12, 'Código repetido com a mesma data de atualização', 777),
    (13, 'Data do saldo inicial inválida', 777),
    (14, 'Data do saldo inicial não informada ou zerada', 777),
    (15, 'Data do saldo inicial fora do período', 777),
    (16, 'Conta do saldo não informada', 777),
    (17, 'Conta do saldo não encontrada no plano de contas', 777),
    (18, 'Conta do saldo não é analítica no Plano de Contas Diário Geral', 777),
    (19, 'Valor do saldo inicial inválido: deve conter somente dígitos', 777),
    (20, 'Indicador de débito/crédito do saldo inicial inválido: deve ser D ou C, e só pode ficar em branco com saldo zero', 777),
    (21, 'Valor dos débitos inválido: deve conter somente dígitos', 777),
    (22, 'Valor dos créditos inválido: deve conter somente dígitos', 777),
    (23, 'Valor do saldo final inválido: deve conter somente dígitos', 777),
    (24, 'Indicador de débito/crédito do saldo final inválido: deve ser D ou C, e só pode ficar em branco com saldo zero', 777),
    (25, 'Conta com mais de um saldo no mesmo mês e ano', 777),
    (26, 'Data do lançamento não informada ou zerada', 777),
    (27, 'Data do lançamento ou data de atualização inválida', 777),
    (28, 'Data do lançamento fora do período', 777),
    (30, 'Conta do lançamento não informada', 777),
    (31, 'Conta do lançamento não encontrada no plano de contas', 777),
    (32, 'Conta do lançamento não é analítica', 777),
    (33, 'Valor do lançamento inválido: deve conter somente dígitos', 777),
    (34, 'Valor do lançamento não informado ou igual a zero', 777),
    (35, 'Indicador de débito/crédito do lançamento não informado', 777),
    (36, 'Indicador de débito/crédito do lançamento inválido: deve ser D ou C', 777),
    (37, 'Conta de contrapartida não encontrada no plano de contas', 777),
    (38, 'Conta de contrapartida não é analítica', 777),
    (39, 'Centro de custos não encontrado na tabela de Centro de Custos', 777),
    (40, 'Centro de despesas não encontrado na tabela de Centro de Despesas', 777),
    (41, 'Centro de custos/despesas não encontrado na tabela de Centro de Custos/Despesas', 777),
    (42, 'Código do histórico não encontrado na tabela de Histórico Padrão', 777),
    (43, 'Código do histórico padrão e texto do histórico não informados', 777),
    (44, 'Histórico do lançamento não informado ou com caractere nulo', 777),
    (48, 'Conta totalizadora igual à própria conta', 777),
    (49, 'Registro com caractere inválido: quebra de linha (CR ou LF) ou caractere nulo', 777),
    (0, 'Validado sem divergências', 0),
    (53, 'Validado com divergência: total dos débitos diferente do total dos créditos dos lançamentos', 53),
    (54, 'Validado com divergência: saldo inicial diferente do saldo final do mês anterior ou mês sem saldo', 54),
    (55, 'Validado com divergência: saldo final diferente do saldo inicial mais débitos menos créditos do mês', 55),
    (56, 'Validado com divergência: débitos dos lançamentos diferentes dos débitos dos saldos', 56),
    (57, 'Validado com divergência: créditos dos lançamentos diferentes dos créditos dos saldos', 57),
    (90, 'Importado sem erros', 90),
    (100, 'Gravado para entrega', 100),
    (777, 'importado com erros', 777);

INSERT INTO TbPlanocontasPadrao (Codconta, descricao) VALUES
    ('1', 'ATIVO'),
    ('1.1', 'Ativo Circulante'),
    ('1.1.01', 'Caixa'),
    ('1.1.02', 'Bancos Conta Movimento'),
    ('1.1.03', 'Aplicações Financeiras de Liquidez Imediata'),
    ('1.1.04', 'Clientes - Duplicatas a Receber'),
    ('1.1.05', '(-) Provisão para Créditos de Liquidação Duvidosa'),
    ('1.1.06', 'Estoques de Mercadorias'),
    ('1.1.07', 'Estoques de Matérias-Primas'),
    ('1.1.08', 'Impostos a Recuperar'),
    ('1.1.09', 'Adiantamentos a Fornecedores'),
    ('1.1.10', 'Despesas do Exercício Seguinte'),
    ('1.2', 'Ativo Realizável a Longo Prazo'),
    ('1.2.01', 'Créditos com Pessoas Ligadas'),
    ('1.2.02', 'Depósitos Judiciais'),
    ('1.3', 'Ativo Permanente'),
    ('1.3.01', 'Investimentos - Participações Societárias'),
    ('1.3.02', 'Imobilizado - Terrenos'),
    ('1.3.03', 'Imobilizado - Edificações'),
    ('1.3.04', 'Imobilizado - Máquinas e Equipamentos'),
    ('1.3.05', 'Imobilizado - Móveis e Utensílios'),
    ('1.3.06', 'Imobilizado - Veículos'),
    ('1.3.07', '(-) Depreciação Acumulada'),
    ('1.3.08', 'Ativo Diferido'),
    ('2', 'PASSIVO'),
    ('2.1', 'Passivo Circulante'),
    ('2.1.01', 'Fornecedores'),
    ('2.1.02', 'Empréstimos e Financiamentos'),
    ('2.1.03', 'Salários e Ordenados a Pagar'),
    ('2.1.04', 'Encargos Sociais a Recolher'),
    ('2.1.05', 'Impostos e Contribuições a Recolher'),
    ('2.1.06', 'Imposto de Renda e Contribuição Social a Pagar'),
    ('2.1.07', 'Dividendos a Pagar'),
    ('2.1.08', 'Adiantamentos de Clientes'),
    ('2.2', 'Passivo Exigível a Longo Prazo'),
    ('2.2.01', 'Empréstimos e Financiamentos a Longo Prazo'),
    ('2.2.02', 'Débitos com Pessoas Ligadas'),
    ('2.3', 'Resultados de Exercícios Futuros'),
    ('2.3.01', 'Receitas de Exercícios Futuros'),
    ('2.4', 'Patrimônio Líquido'),
    ('2.4.01', 'Capital Social'),
    ('2.4.02', 'Reservas de Capital'),
    ('2.4.03', 'Reservas de Reavaliação'),
    ('2.4.04', 'Reservas de Lucros'),
    ('2.4.05', 'Lucros ou Prejuízos Acumulados'),
    ('3', 'RECEITAS'),
    ('3.1', 'Receita Operacional Bruta'),
    ('3.1.01', 'Venda de Mercadorias'),
    ('3.1.02', 'Venda de Produtos'),
    ('3.1.03', 'Prestação de Serviços'),
    ('3.2', 'Deduções da Receita Bruta'),
    ('3.2.01', '(-) Devoluções e Abatimentos'),
    ('3.2.02', '(-) Impostos sobre Vendas e Serviços'),
    ('3.3', 'Outras Receitas Operacionais'),
    ('3.3.01', 'Receitas Financeiras'),
    ('3.3.02', 'Receitas Diversas'),
    ('3.4', 'Receitas Não Operacionais'),
    ('3.4.01', 'Ganhos na Alienação de Bens do Ativo Permanente'),
    ('4', 'CUSTOS'),
    ('4.1', 'Custos das Vendas e Serviços'),
    ('4.1.01', 'Custo das Mercadorias Vendidas'),
    ('4.1.02', 'Custo dos Produtos Vendidos'),
    ('4.1.03', 'Custo dos Serviços Prestados'),
    ('5', 'DESPESAS'),
    ('5.1', 'Despesas Operacionais'),
    ('5.1.01', 'Despesas com Vendas'),
    ('5.1.02', 'Despesas Administrativas'),
    ('5.1.03', 'Despesas com Pessoal'),
    ('5.1.04', 'Despesas Tributárias'),
    ('5.1.05', 'Despesas Financeiras'),
    ('5.1.06', 'Depreciação e Amortização'),
    ('5.2', 'Despesas Não Operacionais'),
    ('5.2.01', 'Perdas na Alienação de Bens do Ativo Permanente'),
    ('5.3', 'Provisões sobre o Resultado'),
    ('5.3.01', 'Provisão para Imposto de Renda'),
    ('5.3.02', 'Provisão para Contribuição Social');

COMMIT;
