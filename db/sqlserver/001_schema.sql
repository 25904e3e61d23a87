-- Tokeiya (とけい屋) database, script 001: tables, views, code lists, seed rows.
-- Engine: Microsoft SQL Server 2005 or later (through FreeTDS or the vendor ODBC driver).
--
-- Loader conventions: batches are separated by lines holding only GO, each batch is sent as
-- one statement batch, the whole script runs in one transaction, then the loader sets
-- nVersion to 1. CREATE VIEW stands alone in its batch. Comments hold no semicolon, quote,
-- question mark or brace, and stand before the statement of their batch. The file is
-- UTF-8 (for sqlcmd use the option -f 65001).
--
-- Names are written as the program writes them, as [dbo].[name].
--
-- Types: integers INT, keys of time cards and schedules BIGINT, money REAL, flags BIT,
-- date-times DATETIME (NULL is the empty time). Texts are NVARCHAR(255) with N literals:
-- Unicode columns keep Japanese text whatever the collation of the database, and 255
-- characters hold any text of up to 255 CP932 bytes that the program sends (VARCHAR would
-- need a Japanese collation, and under a UTF-8 collation 255 bytes would not be enough).
-- The program still writes plain literals into its filters (user names), so the database
-- should be created with a Japanese collation (for example Japanese_CI_AS), under which
-- such literals keep their Japanese characters.
-- Number columns are NOT NULL with the record class default. Texts and date-times may be
-- NULL: an empty text may be written as NULL.

-- Schema version, read and advanced by the loader.
CREATE TABLE [dbo].[TSchemaVersion] (
    [nVersion] INTEGER NOT NULL
);
GO
INSERT INTO [dbo].[TSchemaVersion] ([nVersion]) VALUES (0);
GO

-- ---------------------------------------------------------------------------------------
-- Tables read and written by the program (the columns of the record classes)
-- ---------------------------------------------------------------------------------------

-- Time card: one row per user and day. Key (client assigned):
-- idUser * 100000000 + nYear * 10000 + nMonth * 100 + nDay.
CREATE TABLE [dbo].[Tタイムカード] (
    [idTimeCard]   BIGINT   NOT NULL PRIMARY KEY,
    [idUser]       INT      NOT NULL DEFAULT (0),
    [timeFrom]     DATETIME NULL     DEFAULT (NULL),
    [timeTo]       DATETIME NULL     DEFAULT (NULL),
    [nWorkingMin]  INT      NOT NULL DEFAULT (0),
    [nLunchMin]    INT      NOT NULL DEFAULT (60),
    [nOvertimeMin] INT      NOT NULL DEFAULT (0),
    [nYear]        INT      NOT NULL DEFAULT (0),
    [nMonth]       INT      NOT NULL DEFAULT (0),
    [nDay]         INT      NOT NULL DEFAULT (0),
    [flgOption]    INT      NOT NULL DEFAULT (0),
    [fSalary]      REAL     NOT NULL DEFAULT (0),
    [fOvertimePay] REAL     NOT NULL DEFAULT (0),
    [flgErr]       BIT      NOT NULL DEFAULT (0)
);
GO
CREATE INDEX [IXタイムカード_User_Month] ON [dbo].[Tタイムカード] ([idUser], [nYear], [nMonth]);
GO

-- Schedule entries (personal: idUser of the owner, shared: idUser 0), holidays
-- (idUser 0, nLevel 10) and deleted entries (nLevel 0). Key assigned by the server.
-- Every-day entries (flgEveryDay 1) are dated 2000-01-01, only their time counts.
CREATE TABLE [dbo].[T日程] (
    [idSchedule]   BIGINT        IDENTITY(1, 1) NOT NULL PRIMARY KEY,
    [idUser]       INT           NOT NULL DEFAULT (0),
    [dateSchedule] DATETIME      NULL     DEFAULT (NULL),
    [strSubject]   NVARCHAR(255) NULL     DEFAULT (N''),
    [strSchedule]  NVARCHAR(255) NULL     DEFAULT (N''),
    [flgAlarm]     BIT           NOT NULL DEFAULT (0),
    [flgEveryDay]  BIT           NOT NULL DEFAULT (0),
    [nLevel]       INT           NOT NULL DEFAULT (1),
    [tmp]          INT           NOT NULL DEFAULT (0),
    [timeUpdate]   DATETIME      NULL     DEFAULT (NULL)
);
GO
CREATE INDEX [IX日程_Date] ON [dbo].[T日程] ([dateSchedule]);
GO
CREATE INDEX [IX日程_Tmp] ON [dbo].[T日程] ([tmp]);
GO
-- Every-day entries are few, this index finds them for Q月スケジュール.
CREATE INDEX [IX日程_EveryDay] ON [dbo].[T日程] ([flgEveryDay]);
GO

-- Users. Key chosen by the client (highest + 1), row 0 is the administration account.
-- Passwords are stored scrambled. Times of day are stored on 2000-01-01.
CREATE TABLE [dbo].[Tユーザー] (
    [idUser]       INT           NOT NULL PRIMARY KEY,
    [strUserName]  NVARCHAR(255) NULL     DEFAULT (N''),
    [strPassword]  NVARCHAR(255) NULL     DEFAULT (N''),
    [idGroup]      INT           NOT NULL DEFAULT (0),
    [nLevel]       INT           NOT NULL DEFAULT (1),
    [fSalary]      REAL          NOT NULL DEFAULT (0),
    [fOvertimePay] REAL          NOT NULL DEFAULT (0),
    [timeFrom]     DATETIME      NULL     DEFAULT (CONVERT(DATETIME, '20000101', 112)),
    [timeTo]       DATETIME      NULL     DEFAULT (CONVERT(DATETIME, '20000101', 112)),
    [nLunchMin]    INT           NOT NULL DEFAULT (60),
    [nStartUpMin]  INT           NOT NULL DEFAULT (0),
    [nCoolDownMin] INT           NOT NULL DEFAULT (0)
);
GO

-- Pay groups. Key chosen by the client (highest + 1).
CREATE TABLE [dbo].[Tユーザーグループ] (
    [idGroup]        INT           NOT NULL PRIMARY KEY,
    [strGroupName]   NVARCHAR(255) NULL     DEFAULT (N''),
    [typeSalary]     INT           NOT NULL DEFAULT (1),
    [typeOvertime]   INT           NOT NULL DEFAULT (0),
    [nTimePerSalary] INT           NOT NULL DEFAULT (0),
    [flgRound]       INT           NOT NULL DEFAULT (0),
    [nCutoff]        INT           NOT NULL DEFAULT (0)
);
GO

-- Logins: one row per user and computer, key assigned by the server.
CREATE TABLE [dbo].[TLogIn] (
    [idLogin]    INT           IDENTITY(1, 1) NOT NULL PRIMARY KEY,
    [idUser]     INT           NOT NULL DEFAULT (0),
    [strPCName]  NVARCHAR(255) NOT NULL DEFAULT (N''),
    [dateLogin]  DATETIME      NULL     DEFAULT (NULL),
    [dateLogout] DATETIME      NULL     DEFAULT (NULL),
    CONSTRAINT [UQLogIn_User_PC] UNIQUE ([idUser], [strPCName])
);
GO

-- Monthly pay results, written by the monthly pay calculation P計算 (not in this script)
-- and read through Q給料. idGroup is the group the result was calculated for.
CREATE TABLE [dbo].[T給料] (
    [idSalary]     INT  IDENTITY(1, 1) NOT NULL PRIMARY KEY,
    [idUser]       INT  NOT NULL DEFAULT (0),
    [idGroup]      INT  NOT NULL DEFAULT (0),
    [nWorkingMin]  INT  NOT NULL DEFAULT (0),
    [nOvertimeMin] INT  NOT NULL DEFAULT (0),
    [nYear]        INT  NOT NULL DEFAULT (0),
    [nMonth]       INT  NOT NULL DEFAULT (0),
    [fSalary]      REAL NOT NULL DEFAULT (0),
    [fOvertimePay] REAL NOT NULL DEFAULT (0),
    [nDays]        INT  NOT NULL DEFAULT (0),
    [nErr]         INT  NOT NULL DEFAULT (0)
);
GO
CREATE INDEX [IX給料_Month_Group] ON [dbo].[T給料] ([nYear], [nMonth], [idGroup]);
GO
CREATE INDEX [IX給料_User_Month] ON [dbo].[T給料] ([idUser], [nYear], [nMonth]);
GO

-- ---------------------------------------------------------------------------------------
-- Code tables behind the code lists (seed rows below)
-- ---------------------------------------------------------------------------------------

CREATE TABLE [dbo].[Tmユーザーレベル] (
    [code] INT           NOT NULL PRIMARY KEY,
    [name] NVARCHAR(255) NOT NULL DEFAULT (N'')
);
GO
CREATE TABLE [dbo].[Tm給料種類] (
    [code] INT           NOT NULL PRIMARY KEY,
    [name] NVARCHAR(255) NOT NULL DEFAULT (N'')
);
GO
CREATE TABLE [dbo].[Tm時間外タイプ] (
    [code] INT           NOT NULL PRIMARY KEY,
    [name] NVARCHAR(255) NOT NULL DEFAULT (N'')
);
GO
CREATE TABLE [dbo].[Tm丸め] (
    [code] INT           NOT NULL PRIMARY KEY,
    [name] NVARCHAR(255) NOT NULL DEFAULT (N'')
);
GO

-- Calendar: one row per day from 2000-01-01 to 2099-12-31 (dateDay at 00:00:00).
-- Used by Q月スケジュール to place dated entries on their day through the dateSchedule
-- index and to repeat every-day entries on every day of a month.
CREATE TABLE [dbo].[Tカレンダー] (
    [nYear]   INT      NOT NULL,
    [nMonth]  INT      NOT NULL,
    [nDay]    INT      NOT NULL,
    [dateDay] DATETIME NOT NULL,
    CONSTRAINT [PKカレンダー] PRIMARY KEY ([nYear], [nMonth], [nDay])
);
GO
WITH [d] ([dateDay]) AS (
    SELECT CONVERT(DATETIME, '20000101', 112)
    UNION ALL
    SELECT DATEADD(day, 1, [dateDay]) FROM [d]
    WHERE [dateDay] < CONVERT(DATETIME, '20991231', 112)
)
INSERT INTO [dbo].[Tカレンダー] ([nYear], [nMonth], [nDay], [dateDay])
SELECT YEAR([dateDay]), MONTH([dateDay]), DAY([dateDay]), [dateDay]
FROM [d]
OPTION (MAXRECURSION 0);
GO

-- ---------------------------------------------------------------------------------------
-- Seed rows
-- ---------------------------------------------------------------------------------------

-- User levels: 0 retired, 1..3 active users with rising rights
-- (2 may calculate pay and print, 3 also maintains groups and users), 4 the administration
-- account. Names fit the 10-byte name column of the user settings screen.
INSERT INTO [dbo].[Tmユーザーレベル] ([code], [name])
SELECT 0, N'退職者'
UNION ALL SELECT 1, N'ユーザー'
UNION ALL SELECT 2, N'経理'
UNION ALL SELECT 3, N'管理者'
UNION ALL SELECT 4, N'システム';
GO

-- Pay types: 1 monthly, 2 daily, 3 time-based. 4-byte name column.
INSERT INTO [dbo].[Tm給料種類] ([code], [name])
SELECT 1, N'月給'
UNION ALL SELECT 2, N'日給'
UNION ALL SELECT 3, N'時給';
GO

-- Overtime rules: 0 none, 1 early arrival, 2 late departure, 3 both,
-- 4 minutes beyond 8 hours. 10-byte name column.
INSERT INTO [dbo].[Tm時間外タイプ] ([code], [name])
SELECT 0, N'なし'
UNION ALL SELECT 1, N'早出'
UNION ALL SELECT 2, N'残業'
UNION ALL SELECT 3, N'早出・残業'
UNION ALL SELECT 4, N'8時間超過';
GO

-- Rounding modes: 0 none, 1 up, 2 down, 3 half up. 10-byte name column.
INSERT INTO [dbo].[Tm丸め] ([code], [name])
SELECT 0, N'なし'
UNION ALL SELECT 1, N'切り上げ'
UNION ALL SELECT 2, N'切り捨て'
UNION ALL SELECT 3, N'四捨五入';
GO

-- The administration account: user 0, level 4, no group, empty password (the scrambled
-- form of an empty password is empty).
INSERT INTO [dbo].[Tユーザー] ([idUser], [strUserName], [strPassword], [idGroup], [nLevel])
VALUES (0, N'tokeiya', N'', 0, 4);
GO

-- ---------------------------------------------------------------------------------------
-- Views (read only)
-- ---------------------------------------------------------------------------------------

-- Schedule subjects per day of a month, for the month schedule: dated entries on
-- their day, every-day entries on every day, holidays (idUser 0, nLevel 10). Deleted
-- entries (nLevel 0) are left out. The client filters by user, nYear and nMonth and sorts
-- by nDay, then nLevel descending.
CREATE VIEW [dbo].[Q月スケジュール] AS
SELECT s.[idUser], c.[nYear], c.[nMonth], c.[nDay], s.[strSubject], s.[nLevel]
FROM [dbo].[T日程] AS s
     INNER JOIN [dbo].[Tカレンダー] AS c
             ON s.[dateSchedule] >= c.[dateDay]
                AND s.[dateSchedule] < DATEADD(day, 1, c.[dateDay])
WHERE s.[flgEveryDay] = 0 AND s.[nLevel] <> 0
UNION ALL
SELECT s.[idUser], c.[nYear], c.[nMonth], c.[nDay], s.[strSubject], s.[nLevel]
FROM [dbo].[T日程] AS s
     CROSS JOIN [dbo].[Tカレンダー] AS c
WHERE s.[flgEveryDay] = 1 AND s.[nLevel] <> 0;
GO

-- Schedule rows with the calendar day of dateSchedule, for the day schedule.
-- Deleted entries (nLevel 0) are left out, so that a deleted entry does not come back.
CREATE VIEW [dbo].[Q日程] AS
SELECT [idSchedule], [idUser], [dateSchedule], [strSubject], [strSchedule],
       [flgAlarm], [flgEveryDay], [nLevel], [tmp], [timeUpdate],
       YEAR([dateSchedule]) AS [nYear],
       MONTH([dateSchedule]) AS [nMonth],
       DAY([dateSchedule]) AS [nDay]
FROM [dbo].[T日程]
WHERE [nLevel] <> 0;
GO

-- Alarm candidates: every live schedule row with its alarm flag set. Past
-- dated rows are kept: the client skips occurrences not later than its reference moment,
-- and needs them to fire missed alarms one by one. Every-day rows count by time only.
-- A view of SQL Server cannot carry an order, so ties at one minute are not ordered here.
CREATE VIEW [dbo].[Qアラーム読込用] AS
SELECT [idSchedule], [idUser], [dateSchedule], [strSubject], [flgEveryDay]
FROM [dbo].[T日程]
WHERE [flgAlarm] = 1 AND [nLevel] <> 0 AND [dateSchedule] IS NOT NULL;
GO

-- Monthly pay results with user name, group name and closing day of the group.
CREATE VIEW [dbo].[Q給料] AS
SELECT p.[idSalary], p.[idUser], p.[idGroup], p.[nWorkingMin], p.[nOvertimeMin],
       p.[nYear], p.[nMonth], p.[fSalary], p.[fOvertimePay], p.[nDays], p.[nErr],
       COALESCE(u.[strUserName], N'') AS [strUserName],
       COALESCE(g.[strGroupName], N'') AS [strGroupName],
       COALESCE(g.[nCutoff], 0) AS [nCutoff]
FROM [dbo].[T給料] AS p
     LEFT JOIN [dbo].[Tユーザー] AS u ON u.[idUser] = p.[idUser]
     LEFT JOIN [dbo].[Tユーザーグループ] AS g ON g.[idGroup] = p.[idGroup];
GO

-- Users with the pay settings of their group and their level name (the view mode of the user records).
-- Users without a group (the administration account, group 0) are kept.
CREATE VIEW [dbo].[Qユーザー] AS
SELECT u.[idUser], u.[strUserName], u.[strPassword], u.[idGroup], u.[nLevel],
       u.[fSalary], u.[fOvertimePay], u.[timeFrom], u.[timeTo],
       u.[nLunchMin], u.[nStartUpMin], u.[nCoolDownMin],
       COALESCE(g.[strGroupName], N'') AS [strGroupName],
       COALESCE(g.[typeSalary], 0) AS [typeSalary],
       COALESCE(g.[typeOvertime], 0) AS [typeOvertime],
       COALESCE(g.[nTimePerSalary], 0) AS [nTimePerSalary],
       COALESCE(g.[flgRound], 0) AS [flgRound],
       COALESCE(g.[nCutoff], 0) AS [nCutoff],
       COALESCE(l.[name], N'') AS [strLevel]
FROM [dbo].[Tユーザー] AS u
     LEFT JOIN [dbo].[Tユーザーグループ] AS g ON g.[idGroup] = u.[idGroup]
     LEFT JOIN [dbo].[Tmユーザーレベル] AS l ON l.[code] = u.[nLevel];
GO

-- Groups with the names of their pay type, overtime rule and rounding mode (the view mode
-- of the group records).
CREATE VIEW [dbo].[Qユーザーグループ] AS
SELECT g.[idGroup], g.[strGroupName], g.[typeSalary], g.[typeOvertime],
       g.[nTimePerSalary], g.[flgRound], g.[nCutoff],
       COALESCE(s.[name], N'') AS [strSalary],
       COALESCE(o.[name], N'') AS [strOvertime],
       COALESCE(r.[name], N'') AS [strRound]
FROM [dbo].[Tユーザーグループ] AS g
     LEFT JOIN [dbo].[Tm給料種類] AS s ON s.[code] = g.[typeSalary]
     LEFT JOIN [dbo].[Tm時間外タイプ] AS o ON o.[code] = g.[typeOvertime]
     LEFT JOIN [dbo].[Tm丸め] AS r ON r.[code] = g.[flgRound];
GO

-- Code lists: code (int) and name (text).
CREATE VIEW [dbo].[Qmグループ] AS
SELECT [idGroup] AS [code], [strGroupName] AS [name]
FROM [dbo].[Tユーザーグループ];
GO
CREATE VIEW [dbo].[Qmユーザーレベル] AS
SELECT [code], [name] FROM [dbo].[Tmユーザーレベル];
GO
CREATE VIEW [dbo].[Qm給料種類] AS
SELECT [code], [name] FROM [dbo].[Tm給料種類];
GO
CREATE VIEW [dbo].[Qm時間外タイプ] AS
SELECT [code], [name] FROM [dbo].[Tm時間外タイプ];
GO
CREATE VIEW [dbo].[Qm丸め] AS
SELECT [code], [name] FROM [dbo].[Tm丸め];
GO
