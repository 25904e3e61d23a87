-- Tokeiya (とけい屋) database, script 001: tables, views, code lists, seed rows.
-- Engine: SQLite (through the SQLite3 ODBC driver). Text is UTF-8.
--
-- Loader conventions: batches are separated by lines holding only GO, and every batch is
-- exactly one SQL statement (the SQLite ODBC driver runs only the first statement of a
-- batch). The whole script runs in one transaction, then the loader sets nVersion to 1.
-- Comments must not hold a semicolon, a quote, a question mark or a brace: the SQLite
-- ODBC driver scans the whole batch text, comments included, for those. Comments go
-- before the statement of a batch, never after its closing semicolon, and a CREATE
-- TRIGGER batch starts with CREATE TRIGGER itself (its comments go inside). A batch
-- that starts with a comment returns SQL_NO_DATA from the driver, which is success.
--
-- Types: integers INTEGER (64-bit in SQLite anyway, time card keys are declared BIGINT so
-- the driver describes them as such), money REAL, texts VARCHAR(255), flags INTEGER 0/1,
-- date-times DATETIME holding the text YYYY-MM-DD HH:MM:SS (NULL is the empty time).
-- Number columns are NOT NULL with the record class default. Texts and date-times may be
-- NULL: an empty text may be written as NULL, a NULL date-time is the empty time.

-- Schema version, read and advanced by the loader.
CREATE TABLE TSchemaVersion (
    nVersion INTEGER NOT NULL
);
GO
INSERT INTO TSchemaVersion (nVersion) VALUES (0);
GO

-- ---------------------------------------------------------------------------------------
-- Tables read and written by the program (the columns of the record classes)
-- ---------------------------------------------------------------------------------------

-- Time card: one row per user and day. Key (client assigned):
-- idUser * 100000000 + nYear * 10000 + nMonth * 100 + nDay.
CREATE TABLE Tタイムカード (
    idTimeCard   BIGINT       NOT NULL PRIMARY KEY,
    idUser       INTEGER      NOT NULL DEFAULT 0,
    timeFrom     DATETIME     NULL     DEFAULT NULL,
    timeTo       DATETIME     NULL     DEFAULT NULL,
    nWorkingMin  INTEGER      NOT NULL DEFAULT 0,
    nLunchMin    INTEGER      NOT NULL DEFAULT 60,
    nOvertimeMin INTEGER      NOT NULL DEFAULT 0,
    nYear        INTEGER      NOT NULL DEFAULT 0,
    nMonth       INTEGER      NOT NULL DEFAULT 0,
    nDay         INTEGER      NOT NULL DEFAULT 0,
    flgOption    INTEGER      NOT NULL DEFAULT 0,
    fSalary      REAL         NOT NULL DEFAULT 0,
    fOvertimePay REAL         NOT NULL DEFAULT 0,
    flgErr       INTEGER      NOT NULL DEFAULT 0
);
GO
CREATE INDEX IXタイムカード_User_Month ON Tタイムカード (idUser, nYear, nMonth);
GO

-- Schedule entries (personal: idUser of the owner, shared: idUser 0), holidays
-- (idUser 0, nLevel 10) and deleted entries (nLevel 0). Key assigned by the server.
-- Every-day entries (flgEveryDay 1) are dated 2000-01-01, only their time counts.
CREATE TABLE T日程 (
    idSchedule   INTEGER      PRIMARY KEY AUTOINCREMENT,
    idUser       INTEGER      NOT NULL DEFAULT 0,
    dateSchedule DATETIME     NULL     DEFAULT NULL,
    strSubject   VARCHAR(255) NULL     DEFAULT '',
    strSchedule  VARCHAR(255) NULL     DEFAULT '',
    flgAlarm     INTEGER      NOT NULL DEFAULT 0,
    flgEveryDay  INTEGER      NOT NULL DEFAULT 0,
    nLevel       INTEGER      NOT NULL DEFAULT 1,
    tmp          INTEGER      NOT NULL DEFAULT 0,
    timeUpdate   DATETIME     NULL     DEFAULT NULL
);
GO
CREATE INDEX IX日程_Date ON T日程 (dateSchedule);
GO
CREATE INDEX IX日程_Tmp ON T日程 (tmp);
GO
-- Every-day entries are few. A partial index lets Q月スケジュール find them without a scan
-- (a full index on the flag would mislead the planner of the dated branch).
CREATE INDEX IX日程_EveryDay ON T日程 (flgEveryDay) WHERE flgEveryDay = 1;
GO

-- Users. Key chosen by the client (highest + 1), row 0 is the administration account.
-- Passwords are stored scrambled. Times of day are stored on 2000-01-01.
CREATE TABLE Tユーザー (
    idUser       INTEGER      NOT NULL PRIMARY KEY,
    strUserName  VARCHAR(255) NULL     DEFAULT '',
    strPassword  VARCHAR(255) NULL     DEFAULT '',
    idGroup      INTEGER      NOT NULL DEFAULT 0,
    nLevel       INTEGER      NOT NULL DEFAULT 1,
    fSalary      REAL         NOT NULL DEFAULT 0,
    fOvertimePay REAL         NOT NULL DEFAULT 0,
    timeFrom     DATETIME     NULL     DEFAULT '2000-01-01 00:00:00',
    timeTo       DATETIME     NULL     DEFAULT '2000-01-01 00:00:00',
    nLunchMin    INTEGER      NOT NULL DEFAULT 60,
    nStartUpMin  INTEGER      NOT NULL DEFAULT 0,
    nCoolDownMin INTEGER      NOT NULL DEFAULT 0
);
GO

-- Pay groups. Key chosen by the client (highest + 1).
CREATE TABLE Tユーザーグループ (
    idGroup        INTEGER      NOT NULL PRIMARY KEY,
    strGroupName   VARCHAR(255) NULL     DEFAULT '',
    typeSalary     INTEGER      NOT NULL DEFAULT 1,
    typeOvertime   INTEGER      NOT NULL DEFAULT 0,
    nTimePerSalary INTEGER      NOT NULL DEFAULT 0,
    flgRound       INTEGER      NOT NULL DEFAULT 0,
    nCutoff        INTEGER      NOT NULL DEFAULT 0
);
GO

-- Logins: one row per user and computer, key assigned by the server.
CREATE TABLE TLogIn (
    idLogin      INTEGER      PRIMARY KEY AUTOINCREMENT,
    idUser       INTEGER      NOT NULL DEFAULT 0,
    strPCName    VARCHAR(255) NOT NULL DEFAULT '',
    dateLogin    DATETIME     NULL     DEFAULT NULL,
    dateLogout   DATETIME     NULL     DEFAULT NULL,
    CONSTRAINT UQLogIn_User_PC UNIQUE (idUser, strPCName)
);
GO

-- Monthly pay results, written by the monthly pay calculation (not in this script) and
-- read through Q給料. idGroup is the group the result was calculated for.
CREATE TABLE T給料 (
    idSalary     INTEGER      PRIMARY KEY AUTOINCREMENT,
    idUser       INTEGER      NOT NULL DEFAULT 0,
    idGroup      INTEGER      NOT NULL DEFAULT 0,
    nWorkingMin  INTEGER      NOT NULL DEFAULT 0,
    nOvertimeMin INTEGER      NOT NULL DEFAULT 0,
    nYear        INTEGER      NOT NULL DEFAULT 0,
    nMonth       INTEGER      NOT NULL DEFAULT 0,
    fSalary      REAL         NOT NULL DEFAULT 0,
    fOvertimePay REAL         NOT NULL DEFAULT 0,
    nDays        INTEGER      NOT NULL DEFAULT 0,
    nErr         INTEGER      NOT NULL DEFAULT 0
);
GO
CREATE INDEX IX給料_Month_Group ON T給料 (nYear, nMonth, idGroup);
GO
CREATE INDEX IX給料_User_Month ON T給料 (idUser, nYear, nMonth);
GO

CREATE TRIGGER TRタイムカード_Ins AFTER INSERT ON Tタイムカード
-- Date-time text is kept as YYYY-MM-DD HH:MM:SS. The SQLite ODBC driver writes a bound
-- timestamp parameter with milliseconds (09:05:00.000), which would no longer equal the
-- ts literal of the holiday filter on dateSchedule and nLevel 10 (saving a holiday).
-- This trigger and the seven below cut such a fraction off after every insert and update.
WHEN NEW.timeFrom LIKE '____-__-__ __:__:__.%' OR NEW.timeTo LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE Tタイムカード SET
        timeFrom = CASE WHEN timeFrom LIKE '____-__-__ __:__:__.%' THEN substr(timeFrom, 1, 19) ELSE timeFrom END,
        timeTo = CASE WHEN timeTo LIKE '____-__-__ __:__:__.%' THEN substr(timeTo, 1, 19) ELSE timeTo END
    WHERE idTimeCard = NEW.idTimeCard;
END;
GO
CREATE TRIGGER TRタイムカード_Upd AFTER UPDATE OF timeFrom, timeTo ON Tタイムカード
WHEN NEW.timeFrom LIKE '____-__-__ __:__:__.%' OR NEW.timeTo LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE Tタイムカード SET
        timeFrom = CASE WHEN timeFrom LIKE '____-__-__ __:__:__.%' THEN substr(timeFrom, 1, 19) ELSE timeFrom END,
        timeTo = CASE WHEN timeTo LIKE '____-__-__ __:__:__.%' THEN substr(timeTo, 1, 19) ELSE timeTo END
    WHERE idTimeCard = NEW.idTimeCard;
END;
GO
CREATE TRIGGER TR日程_Ins AFTER INSERT ON T日程
WHEN NEW.dateSchedule LIKE '____-__-__ __:__:__.%' OR NEW.timeUpdate LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE T日程 SET
        dateSchedule = CASE WHEN dateSchedule LIKE '____-__-__ __:__:__.%' THEN substr(dateSchedule, 1, 19) ELSE dateSchedule END,
        timeUpdate = CASE WHEN timeUpdate LIKE '____-__-__ __:__:__.%' THEN substr(timeUpdate, 1, 19) ELSE timeUpdate END
    WHERE idSchedule = NEW.idSchedule;
END;
GO
CREATE TRIGGER TR日程_Upd AFTER UPDATE OF dateSchedule, timeUpdate ON T日程
WHEN NEW.dateSchedule LIKE '____-__-__ __:__:__.%' OR NEW.timeUpdate LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE T日程 SET
        dateSchedule = CASE WHEN dateSchedule LIKE '____-__-__ __:__:__.%' THEN substr(dateSchedule, 1, 19) ELSE dateSchedule END,
        timeUpdate = CASE WHEN timeUpdate LIKE '____-__-__ __:__:__.%' THEN substr(timeUpdate, 1, 19) ELSE timeUpdate END
    WHERE idSchedule = NEW.idSchedule;
END;
GO
CREATE TRIGGER TRユーザー_Ins AFTER INSERT ON Tユーザー
WHEN NEW.timeFrom LIKE '____-__-__ __:__:__.%' OR NEW.timeTo LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE Tユーザー SET
        timeFrom = CASE WHEN timeFrom LIKE '____-__-__ __:__:__.%' THEN substr(timeFrom, 1, 19) ELSE timeFrom END,
        timeTo = CASE WHEN timeTo LIKE '____-__-__ __:__:__.%' THEN substr(timeTo, 1, 19) ELSE timeTo END
    WHERE idUser = NEW.idUser;
END;
GO
CREATE TRIGGER TRユーザー_Upd AFTER UPDATE OF timeFrom, timeTo ON Tユーザー
WHEN NEW.timeFrom LIKE '____-__-__ __:__:__.%' OR NEW.timeTo LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE Tユーザー SET
        timeFrom = CASE WHEN timeFrom LIKE '____-__-__ __:__:__.%' THEN substr(timeFrom, 1, 19) ELSE timeFrom END,
        timeTo = CASE WHEN timeTo LIKE '____-__-__ __:__:__.%' THEN substr(timeTo, 1, 19) ELSE timeTo END
    WHERE idUser = NEW.idUser;
END;
GO
CREATE TRIGGER TRLogIn_Ins AFTER INSERT ON TLogIn
WHEN NEW.dateLogin LIKE '____-__-__ __:__:__.%' OR NEW.dateLogout LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE TLogIn SET
        dateLogin = CASE WHEN dateLogin LIKE '____-__-__ __:__:__.%' THEN substr(dateLogin, 1, 19) ELSE dateLogin END,
        dateLogout = CASE WHEN dateLogout LIKE '____-__-__ __:__:__.%' THEN substr(dateLogout, 1, 19) ELSE dateLogout END
    WHERE idLogin = NEW.idLogin;
END;
GO
CREATE TRIGGER TRLogIn_Upd AFTER UPDATE OF dateLogin, dateLogout ON TLogIn
WHEN NEW.dateLogin LIKE '____-__-__ __:__:__.%' OR NEW.dateLogout LIKE '____-__-__ __:__:__.%'
BEGIN
    UPDATE TLogIn SET
        dateLogin = CASE WHEN dateLogin LIKE '____-__-__ __:__:__.%' THEN substr(dateLogin, 1, 19) ELSE dateLogin END,
        dateLogout = CASE WHEN dateLogout LIKE '____-__-__ __:__:__.%' THEN substr(dateLogout, 1, 19) ELSE dateLogout END
    WHERE idLogin = NEW.idLogin;
END;
GO

-- ---------------------------------------------------------------------------------------
-- Code tables behind the code lists (seed rows below)
-- ---------------------------------------------------------------------------------------

CREATE TABLE Tmユーザーレベル (
    code INTEGER      NOT NULL PRIMARY KEY,
    name VARCHAR(255) NOT NULL DEFAULT ''
);
GO
CREATE TABLE Tm給料種類 (
    code INTEGER      NOT NULL PRIMARY KEY,
    name VARCHAR(255) NOT NULL DEFAULT ''
);
GO
CREATE TABLE Tm時間外タイプ (
    code INTEGER      NOT NULL PRIMARY KEY,
    name VARCHAR(255) NOT NULL DEFAULT ''
);
GO
CREATE TABLE Tm丸め (
    code INTEGER      NOT NULL PRIMARY KEY,
    name VARCHAR(255) NOT NULL DEFAULT ''
);
GO

-- Calendar: one row per day from 2000-01-01 to 2099-12-31 (dateDay at 00:00:00).
-- Used by Q月スケジュール to place dated entries on their day through the dateSchedule
-- index and to repeat every-day entries on every day of a month.
CREATE TABLE Tカレンダー (
    nYear   INTEGER  NOT NULL,
    nMonth  INTEGER  NOT NULL,
    nDay    INTEGER  NOT NULL,
    dateDay DATETIME NOT NULL,
    PRIMARY KEY (nYear, nMonth, nDay)
) WITHOUT ROWID;
GO
INSERT INTO Tカレンダー (nYear, nMonth, nDay, dateDay)
WITH RECURSIVE d(j) AS (
    SELECT julianday('2000-01-01 00:00:00')
    UNION ALL
    SELECT j + 1 FROM d WHERE j < julianday('2099-12-31 00:00:00')
)
SELECT CAST(strftime('%Y', j) AS INTEGER),
       CAST(strftime('%m', j) AS INTEGER),
       CAST(strftime('%d', j) AS INTEGER),
       datetime(j)
FROM d;
GO

-- ---------------------------------------------------------------------------------------
-- Seed rows
-- ---------------------------------------------------------------------------------------

-- User levels: 0 retired, 1..3 active users with rising rights
-- (2 may calculate pay and print, 3 also maintains groups and users), 4 the administration
-- account. Names fit the 10-byte name column of the user settings screen.
INSERT INTO Tmユーザーレベル (code, name) VALUES
    (0, '退職者'),
    (1, 'ユーザー'),
    (2, '経理'),
    (3, '管理者'),
    (4, 'システム');
GO

-- Pay types: 1 monthly, 2 daily, 3 time-based. 4-byte name column.
INSERT INTO Tm給料種類 (code, name) VALUES
    (1, '月給'),
    (2, '日給'),
    (3, '時給');
GO

-- Overtime rules: 0 none, 1 early arrival, 2 late departure, 3 both,
-- 4 minutes beyond 8 hours. 10-byte name column.
INSERT INTO Tm時間外タイプ (code, name) VALUES
    (0, 'なし'),
    (1, '早出'),
    (2, '残業'),
    (3, '早出・残業'),
    (4, '8時間超過');
GO

-- Rounding modes: 0 none, 1 up, 2 down, 3 half up. 10-byte name column.
INSERT INTO Tm丸め (code, name) VALUES
    (0, 'なし'),
    (1, '切り上げ'),
    (2, '切り捨て'),
    (3, '四捨五入');
GO

-- The administration account: user 0, level 4, no group, empty password (the scrambled
-- form of an empty password is empty).
INSERT INTO Tユーザー (idUser, strUserName, strPassword, idGroup, nLevel)
VALUES (0, 'tokeiya', '', 0, 4);
GO

-- ---------------------------------------------------------------------------------------
-- Views (read only)
-- ---------------------------------------------------------------------------------------

-- Schedule subjects per day of a month, for the month schedule: dated entries on
-- their day, every-day entries on every day, holidays (idUser 0, nLevel 10). Deleted
-- entries (nLevel 0) are left out. The client filters by user, nYear and nMonth and sorts
-- by nDay, then nLevel descending.
CREATE VIEW Q月スケジュール AS
SELECT s.idUser, c.nYear, c.nMonth, c.nDay, s.strSubject, s.nLevel
FROM T日程 AS s
     INNER JOIN Tカレンダー AS c
             ON s.dateSchedule >= c.dateDay
                AND s.dateSchedule < datetime(c.dateDay, '+1 day')
WHERE s.flgEveryDay = 0 AND s.nLevel <> 0
UNION ALL
SELECT s.idUser, c.nYear, c.nMonth, c.nDay, s.strSubject, s.nLevel
FROM T日程 AS s
     CROSS JOIN Tカレンダー AS c
WHERE s.flgEveryDay = 1 AND s.nLevel <> 0;
GO

-- Schedule rows with the calendar day of dateSchedule, for the day schedule.
-- Deleted entries (nLevel 0) are left out, so that a deleted entry does not come back.
CREATE VIEW Q日程 AS
SELECT idSchedule, idUser, dateSchedule, strSubject, strSchedule,
       flgAlarm, flgEveryDay, nLevel, tmp, timeUpdate,
       CAST(strftime('%Y', dateSchedule) AS INTEGER) AS nYear,
       CAST(strftime('%m', dateSchedule) AS INTEGER) AS nMonth,
       CAST(strftime('%d', dateSchedule) AS INTEGER) AS nDay
FROM T日程
WHERE nLevel <> 0;
GO

-- Alarm candidates: every live schedule row with its alarm flag set. Past
-- dated rows are kept: the client skips occurrences not later than its reference moment,
-- and needs them to fire missed alarms one by one. Every-day rows count by time only.
-- Ordered by id so that of two alarms at the same minute the older entry rings.
CREATE VIEW Qアラーム読込用 AS
SELECT idSchedule, idUser, dateSchedule, strSubject, flgEveryDay
FROM T日程
WHERE flgAlarm = 1 AND nLevel <> 0 AND dateSchedule IS NOT NULL
ORDER BY idSchedule;
GO

-- Monthly pay results with user name, group name and closing day of the group.
CREATE VIEW Q給料 AS
SELECT p.idSalary, p.idUser, p.idGroup, p.nWorkingMin, p.nOvertimeMin,
       p.nYear, p.nMonth, p.fSalary, p.fOvertimePay, p.nDays, p.nErr,
       COALESCE(u.strUserName, '') AS strUserName,
       COALESCE(g.strGroupName, '') AS strGroupName,
       COALESCE(g.nCutoff, 0) AS nCutoff
FROM T給料 AS p
     LEFT JOIN Tユーザー AS u ON u.idUser = p.idUser
     LEFT JOIN Tユーザーグループ AS g ON g.idGroup = p.idGroup;
GO

-- Users with the pay settings of their group and their level name (the view mode of the user records).
-- Users without a group (the administration account, group 0) are kept.
CREATE VIEW Qユーザー AS
SELECT u.idUser, u.strUserName, u.strPassword, u.idGroup, u.nLevel,
       u.fSalary, u.fOvertimePay, u.timeFrom, u.timeTo,
       u.nLunchMin, u.nStartUpMin, u.nCoolDownMin,
       COALESCE(g.strGroupName, '') AS strGroupName,
       COALESCE(g.typeSalary, 0) AS typeSalary,
       COALESCE(g.typeOvertime, 0) AS typeOvertime,
       COALESCE(g.nTimePerSalary, 0) AS nTimePerSalary,
       COALESCE(g.flgRound, 0) AS flgRound,
       COALESCE(g.nCutoff, 0) AS nCutoff,
       COALESCE(l.name, '') AS strLevel
FROM Tユーザー AS u
     LEFT JOIN Tユーザーグループ AS g ON g.idGroup = u.idGroup
     LEFT JOIN Tmユーザーレベル AS l ON l.code = u.nLevel;
GO

-- Groups with the names of their pay type, overtime rule and rounding mode (the view mode
-- of the group records).
CREATE VIEW Qユーザーグループ AS
SELECT g.idGroup, g.strGroupName, g.typeSalary, g.typeOvertime,
       g.nTimePerSalary, g.flgRound, g.nCutoff,
       COALESCE(s.name, '') AS strSalary,
       COALESCE(o.name, '') AS strOvertime,
       COALESCE(r.name, '') AS strRound
FROM Tユーザーグループ AS g
     LEFT JOIN Tm給料種類 AS s ON s.code = g.typeSalary
     LEFT JOIN Tm時間外タイプ AS o ON o.code = g.typeOvertime
     LEFT JOIN Tm丸め AS r ON r.code = g.flgRound;
GO

-- Code lists: code (int) and name (text).
CREATE VIEW Qmグループ AS
SELECT idGroup AS code, strGroupName AS name
FROM Tユーザーグループ;
GO
CREATE VIEW Qmユーザーレベル AS
SELECT code, name FROM Tmユーザーレベル;
GO
CREATE VIEW Qm給料種類 AS
SELECT code, name FROM Tm給料種類;
GO
CREATE VIEW Qm時間外タイプ AS
SELECT code, name FROM Tm時間外タイプ;
GO
CREATE VIEW Qm丸め AS
SELECT code, name FROM Tm丸め;
GO
