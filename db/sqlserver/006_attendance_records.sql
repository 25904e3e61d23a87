-- Tokeiya (とけい屋) database, script 006: attendance records an inspector can trust.
-- Engine: Microsoft SQL Server 2005 or later. Loader conventions as in script 001.
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

CREATE TABLE [dbo].[T勤怠修正履歴] (
    [idHistory]    INT           IDENTITY(1, 1) NOT NULL PRIMARY KEY,
    [idTimeCard]   BIGINT        NOT NULL,
    [idUser]       INT           NOT NULL DEFAULT (0),
    [nYear]        INT           NOT NULL DEFAULT (0),
    [nMonth]       INT           NOT NULL DEFAULT (0),
    [nDay]         INT           NOT NULL DEFAULT (0),
    [dateChanged]  DATETIME      NULL     DEFAULT (NULL),
    [idChangedBy]  INT           NOT NULL DEFAULT (0),
    [strPCName]    NVARCHAR(255) NOT NULL DEFAULT (N''),
    [typeHow]      INT           NOT NULL DEFAULT (0),
    [flgNewCard]   INT           NOT NULL DEFAULT (0),
    [timeFromOld]  DATETIME      NULL     DEFAULT (NULL),
    [timeFromNew]  DATETIME      NULL     DEFAULT (NULL),
    [timeToOld]    DATETIME      NULL     DEFAULT (NULL),
    [timeToNew]    DATETIME      NULL     DEFAULT (NULL),
    [nLunchMinOld] INT           NOT NULL DEFAULT (0),
    [nLunchMinNew] INT           NOT NULL DEFAULT (0),
    [flgOptionOld] INT           NOT NULL DEFAULT (0),
    [flgOptionNew] INT           NOT NULL DEFAULT (0)
);
GO
CREATE INDEX [IX勤怠修正履歴_User_Month] ON [dbo].[T勤怠修正履歴] ([idUser], [nYear], [nMonth]);
GO

CREATE TABLE [dbo].[T端末利用] (
    [idActivity] INT           IDENTITY(1, 1) NOT NULL PRIMARY KEY,
    [idSpan]     BIGINT        NOT NULL,
    [flgEnd]     INT           NOT NULL DEFAULT (0),
    [idUser]     INT           NOT NULL DEFAULT (0),
    [strPCName]  NVARCHAR(255) NOT NULL DEFAULT (N''),
    [dateAt]     DATETIME      NULL     DEFAULT (NULL),
    [typeEnd]    INT           NOT NULL DEFAULT (0),
    [dateStart]  DATETIME      NULL     DEFAULT (NULL),
    CONSTRAINT [UQ端末利用_Span] UNIQUE ([idSpan], [flgEnd])
);
GO
CREATE INDEX [IX端末利用_User_Date] ON [dbo].[T端末利用] ([idUser], [dateAt]);
GO
CREATE INDEX [IX端末利用_Start] ON [dbo].[T端末利用] ([flgEnd], [dateAt], [idUser], [idSpan]);
GO
CREATE INDEX [IX端末利用_Closed] ON [dbo].[T端末利用] ([flgEnd], [dateStart], [idUser], [dateAt]);
GO

-- Rows of the two record tables are never changed nor removed.
CREATE TRIGGER [dbo].[TR勤怠修正履歴_InsertOnly] ON [dbo].[T勤怠修正履歴]
INSTEAD OF UPDATE, DELETE
AS
BEGIN
    RAISERROR (N'勤怠の記録は変更も削除もできません。', 16, 1);
END
GO
CREATE TRIGGER [dbo].[TR端末利用_InsertOnly] ON [dbo].[T端末利用]
INSTEAD OF UPDATE, DELETE
AS
BEGIN
    RAISERROR (N'勤怠の記録は変更も削除もできません。', 16, 1);
END
GO

CREATE TABLE [dbo].[T事業所設定] (
    [idOffice]      INT NOT NULL PRIMARY KEY,
    [nGapMin]       INT NOT NULL DEFAULT (30),
    [typeDeparture] INT NOT NULL DEFAULT (0)
);
GO
INSERT INTO [dbo].[T事業所設定] ([idOffice], [nGapMin], [typeDeparture]) VALUES (1, 30, 0);
GO
