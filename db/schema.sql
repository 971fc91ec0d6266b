-- The tables of the delivered database file, schema version 0. Later versions
-- are steps in src/data/SchemaVersions.cpp, which the delivery tool runs after
-- this file and the program runs on opening a file of an earlier version; the
-- program creates or alters tables nowhere else.
--
-- Conventions the data layer relies on:
--   * auto-numbers are INTEGER PRIMARY KEY AUTOINCREMENT (ids are never reused);
--   * BOOLEAN columns hold 0 or 1 (SQL's True is 1);
--   * DATETIME columns hold ISO text 'YYYY-MM-DD' (' HH:MM:SS' only when not
--     midnight), so that text order is date order;
--   * VARCHAR(n) is the longest text a field takes (checked on assignment);
--   * text compares case-insensitively (COLLATE NOCASE);
--   * a CHECK named zero_length_<field> marks a field that must not be empty.

PRAGMA foreign_keys = ON;

CREATE TABLE Businesses (
    BusinessId INTEGER PRIMARY KEY AUTOINCREMENT,
    Name       VARCHAR(255) NOT NULL COLLATE NOCASE
               CONSTRAINT zero_length_Name CHECK (length(Name) > 0),
    VATNr      VARCHAR(255) COLLATE NOCASE,
    accountnr  VARCHAR(255) COLLATE NOCASE
);
CREATE INDEX Businesses_Name ON Businesses (Name);

CREATE TABLE Categories (
    CategoryId    INTEGER PRIMARY KEY AUTOINCREMENT,
    Category      VARCHAR(255) NOT NULL COLLATE NOCASE
                  CONSTRAINT zero_length_Category CHECK (length(Category) > 0),
    MoneyReceived BOOLEAN NOT NULL DEFAULT 0,
    VAT           REAL,
    CashOrBank    INTEGER DEFAULT 3
);
CREATE INDEX Categories_Category ON Categories (Category);

CREATE TABLE Transactions (
    TransactionId   INTEGER PRIMARY KEY AUTOINCREMENT,
    TransactionDate DATETIME,
    Invoicenr       VARCHAR(25) COLLATE NOCASE,
    Relation        VARCHAR(50) COLLATE NOCASE,
    MoneyIn         BOOLEAN NOT NULL DEFAULT 0,
    CategoryId      INTEGER REFERENCES Categories (CategoryId) ON DELETE CASCADE,
    Description     VARCHAR(100) COLLATE NOCASE,
    ReceiptId       VARCHAR(25) COLLATE NOCASE,
    TotalPrice      REAL,
    Cash            BOOLEAN NOT NULL DEFAULT 0,
    BusinessId      INTEGER REFERENCES Businesses (BusinessId) ON DELETE CASCADE,
    Remarks         TEXT COLLATE NOCASE
);
CREATE INDEX Transactions_Business ON Transactions (BusinessId, Cash);
CREATE INDEX Transactions_Category ON Transactions (CategoryId);
CREATE INDEX Transactions_Relation ON Transactions (Relation);

CREATE TABLE relCat_Bis (
    CatId INTEGER NOT NULL REFERENCES Categories (CategoryId) ON DELETE CASCADE,
    Busid INTEGER NOT NULL REFERENCES Businesses (BusinessId) ON DELETE CASCADE,
    PRIMARY KEY (CatId, Busid)
);
CREATE INDEX relCat_Bis_Busid ON relCat_Bis (Busid);

CREATE TABLE Reports (
    Reportid    INTEGER PRIMARY KEY,
    ReportTitle VARCHAR(255) NOT NULL COLLATE NOCASE
);
