-- Tokeiya (とけい屋) database, script 006: attendance records an inspector can trust.
-- Engine: SQLite 3. Loader conventions as in script 001.
--
-- T勤怠修正履歴 keeps one row for every store that changed the arrival, departure,
-- lunch minutes or day option of a time card: who changed it, from which computer, how,
-- and the values before and after. T端末利用 keeps the sessions of the program on each
-- computer as spans: a span is an opening row (flgEnd 0) and, once the end is known, a
-- closing row (flgEnd 1) under the same idSpan, so that both tables only ever grow.
-- A closing row repeats the start of its span in dateStart: a month of ended spans is summed
-- up from closing rows alone. The triggers refuse any change or removal of their rows.
-- T事業所設定 holds the one row of office-wide settings that every computer reads alike.
--
-- typeHow: 1 login stamp, 2 exit stamp, 3 exit written at a later login, 4 month
-- schedule, 5 time card screen, 6 day schedule, 9 other.
-- typeEnd of a closing row: 1 exit, 2 desktop logout or shutdown, 3 display lost,
-- 4 written at a later login, 5 sleep, 6 screen lock. A span without one never ended.
-- typeDeparture: 0 the first exit of the day is the departure, 1 the last one.

CREATE TABLE T勤怠修正履歴 (
    idHistory     INTEGER      PRIMARY KEY,
    idTimeCard    BIGINT       NOT NULL,
    idUser        INTEGER      NOT NULL DEFAULT 0,
    nYear         INTEGER      NOT NULL DEFAULT 0,
    nMonth        INTEGER      NOT NULL DEFAULT 0,
    nDay          INTEGER      NOT NULL DEFAULT 0,
    dateChanged   DATETIME     NULL     DEFAULT NULL,
    idChangedBy   INTEGER      NOT NULL DEFAULT 0,
    strPCName     VARCHAR(255) NOT NULL DEFAULT '',
    typeHow       INTEGER      NOT NULL DEFAULT 0,
    flgNewCard    INTEGER      NOT NULL DEFAULT 0,
    timeFromOld   DATETIME     NULL     DEFAULT NULL,
    timeFromNew   DATETIME     NULL     DEFAULT NULL,
    timeToOld     DATETIME     NULL     DEFAULT NULL,
    timeToNew     DATETIME     NULL     DEFAULT NULL,
    nLunchMinOld  INTEGER      NOT NULL DEFAULT 0,
    nLunchMinNew  INTEGER      NOT NULL DEFAULT 0,
    flgOptionOld  INTEGER      NOT NULL DEFAULT 0,
    flgOptionNew  INTEGER      NOT NULL DEFAULT 0
);
GO
CREATE INDEX IX勤怠修正履歴_User_Month ON T勤怠修正履歴 (idUser, nYear, nMonth);
GO
CREATE TRIGGER TR勤怠修正履歴_NoUpdate BEFORE UPDATE ON T勤怠修正履歴
BEGIN
    SELECT RAISE(ABORT, '修正履歴は変更できません');
END;
GO
CREATE TRIGGER TR勤怠修正履歴_NoDelete BEFORE DELETE ON T勤怠修正履歴
BEGIN
    SELECT RAISE(ABORT, '修正履歴は削除できません');
END;
GO

CREATE TABLE T端末利用 (
    idActivity    INTEGER      PRIMARY KEY,
    idSpan        BIGINT       NOT NULL,
    flgEnd        INTEGER      NOT NULL DEFAULT 0,
    idUser        INTEGER      NOT NULL DEFAULT 0,
    strPCName     VARCHAR(255) NOT NULL DEFAULT '',
    dateAt        DATETIME     NULL     DEFAULT NULL,
    typeEnd       INTEGER      NOT NULL DEFAULT 0,
    dateStart     DATETIME     NULL     DEFAULT NULL,
    CONSTRAINT UQ端末利用_Span UNIQUE (idSpan, flgEnd)
);
GO
CREATE INDEX IX端末利用_User_Date ON T端末利用 (idUser, dateAt);
GO
CREATE INDEX IX端末利用_Start ON T端末利用 (flgEnd, dateAt, idUser, idSpan);
GO
CREATE INDEX IX端末利用_Closed ON T端末利用 (flgEnd, dateStart, idUser, dateAt);
GO
CREATE TRIGGER TR端末利用_NoUpdate BEFORE UPDATE ON T端末利用
BEGIN
    SELECT RAISE(ABORT, '端末利用記録は変更できません');
END;
GO
CREATE TRIGGER TR端末利用_NoDelete BEFORE DELETE ON T端末利用
BEGIN
    SELECT RAISE(ABORT, '端末利用記録は削除できません');
END;
GO

CREATE TABLE T事業所設定 (
    idOffice      INTEGER      NOT NULL PRIMARY KEY,
    nGapMin       INTEGER      NOT NULL DEFAULT 30,
    typeDeparture INTEGER      NOT NULL DEFAULT 0
);
GO
INSERT INTO T事業所設定 (idOffice, nGapMin, typeDeparture) VALUES (1, 30, 0);
GO
