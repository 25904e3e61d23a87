-- Tokeiya (とけい屋) database, script 005: passwords stored as hashes only.
-- Engine: PostgreSQL 10 or later. Loader conventions as in script 001.
--
-- Passwords were stored scrambled, which anyone who can read the user table turns back
-- into the password. Each user gets a column for a salted Argon2id hash of the password.
-- The program computes the hashes from the scrambled passwords right after this script,
-- then empties the scrambled column, in the same transaction as the script: a database
-- whose upgrade stopped half-way is still at version 4 with its scrambled passwords.
--
-- The view keeps a column named strPassword for copies of the program from before the
-- hashes, which read it at login: reading it for a user raises a message that asks for
-- the new version, instead of such a copy taking the empty column for an empty password.

ALTER TABLE dbo.Tユーザー ADD COLUMN strPasswordHash VARCHAR(255) NULL DEFAULT '';
GO

-- Raised for each user row an old copy of the program reads.
CREATE FUNCTION dbo.fOldProgram(idUser INTEGER) RETURNS VARCHAR
LANGUAGE plpgsql STABLE
AS $$
BEGIN
    RAISE EXCEPTION 'このデータベースは新しい版のとけい屋用に更新されました。とけい屋を新しい版に更新してください。';
END
$$;
GO

DROP VIEW dbo.Qユーザー;
GO

-- Users with the pay settings of their group and their level name (the view mode of the user records).
-- Users without a group (the administration account, group 0) are kept.
CREATE VIEW dbo.Qユーザー AS
SELECT u.idUser, u.strUserName, u.strPasswordHash, u.idGroup, u.nLevel,
       u.fSalary, u.fOvertimePay, u.timeFrom, u.timeTo,
       u.nLunchMin, u.nStartUpMin, u.nCoolDownMin,
       COALESCE(g.strGroupName, '') AS strGroupName,
       COALESCE(g.typeSalary, 0) AS typeSalary,
       COALESCE(g.typeOvertime, 0) AS typeOvertime,
       COALESCE(g.nTimePerSalary, 0) AS nTimePerSalary,
       COALESCE(g.flgRound, 0) AS flgRound,
       COALESCE(g.nCutoff, 0) AS nCutoff,
       COALESCE(l.name, '') AS strLevel,
       dbo.fOldProgram(u.idUser) AS strPassword
FROM dbo.Tユーザー AS u
     LEFT JOIN dbo.Tユーザーグループ AS g ON g.idGroup = u.idGroup
     LEFT JOIN dbo.Tmユーザーレベル AS l ON l.code = u.nLevel;
GO
