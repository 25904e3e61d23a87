-- Tokeiya (とけい屋) database, script 004: the monthly pay calculation P計算, cards locked.
-- Engine: Microsoft SQL Server 2005 or later. Loader conventions as in script 001.
--
-- Replaces the procedure of script 003 in place with the same rules. The recomputation
-- reads the cards in a derived table and writes them in the same UPDATE. Under row
-- versioning (READ_COMMITTED_SNAPSHOT) a card that another computer changed while the
-- calculation ran could be written with the minutes of the version the derived table had
-- read. The cards of the group and period are now locked before they are read: a card
-- being stored elsewhere is waited for, and no card changes until the calculation ends.
--
-- The same three statements run on every engine.
--
-- First every time card of the users of the group in the period is recomputed, in one
-- UPDATE so that each row is written once. Its source is a chain of derived tables, one
-- per step, innermost first. A time counts as unset when it is NULL or earlier than
-- 1970-01-02 00:00, the empty time of the program. Times of day are taken as minutes,
-- hour x 60 + minute. The year bounds let the index on user, year and month narrow the
-- search (the other engines also index the day itself, which here would take a computed
-- column).
--
-- Then the earlier result of the group for the month of the last day is replaced by one
-- row per user: every active user (levels 1 to 3) of the group, a retired user (level 0)
-- only when a card of the period holds a time. Monthly groups (1) pay the user monthly
-- rate, the others the sum of the day pay. Days count the cards with working minutes above
-- 0, errors the cards flagged.
--
-- The whole call is one transaction, or a savepoint inside the caller transaction, so that
-- a failing statement never leaves the time cards recomputed and the result half replaced
-- (T-SQL would otherwise go on with the next statement). The group row is locked first,
-- so that two calculations of one group run one after the other and never leave the
-- result rows twice. Then the cards to recompute are locked, so that each is recomputed
-- from the version it is written over.
ALTER PROCEDURE [dbo].[P計算] @idGroup INT, @from INT, @to INT
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @outerTransactions INT, @locked INT;
    DECLARE @error INT, @message NVARCHAR(2048), @state INT;
    SET @outerTransactions = @@TRANCOUNT;

    IF @idGroup IS NULL OR @from IS NULL OR @to IS NULL
       OR (@to / 100) % 100 NOT BETWEEN 1 AND 12
    BEGIN
        RAISERROR(N'P計算: 期間が不正です', 16, 1);
        RETURN;
    END;

    BEGIN TRY
        IF @outerTransactions = 0
            BEGIN TRANSACTION;
        ELSE
            SAVE TRANSACTION PayCalculation;

        SELECT @locked = [idGroup]
        FROM [dbo].[Tユーザーグループ] WITH (UPDLOCK, HOLDLOCK)
        WHERE [idGroup] = @idGroup;

        SELECT @locked = COUNT(*)
        FROM [dbo].[Tタイムカード] AS card WITH (UPDLOCK, HOLDLOCK, ROWLOCK)
             INNER JOIN [dbo].[Tユーザー] AS u ON u.[idUser] = card.[idUser]
        WHERE u.[idGroup] = @idGroup
          AND card.[nYear] BETWEEN @from / 10000 AND @to / 10000
          AND card.[nYear] * 10000 + card.[nMonth] * 100 + card.[nDay] BETWEEN @from AND @to;

        UPDATE c SET
            [flgOption] = r.nOption,
            [flgErr] = CASE WHEN r.nSet = 1 OR (r.nSet = 2 AND r.bValid = 0) THEN 1 ELSE 0 END,
            [nWorkingMin] = CASE WHEN r.bValid = 1 THEN r.nWorkingRounded ELSE 0 END,
            [nOvertimeMin] = CASE WHEN r.bValid = 1 THEN r.nOvertimeRounded ELSE 0 END,
            -- 7. Pay, only with rounding: time-based groups (3) earn the user rate per unit
            -- worked, daily groups (2) the user day rate, other groups keep the day pay of
            -- the row. Overtime pay is the overtime rate per unit. Without rounding both keep
            -- what the row holds. Amounts are taken in double precision and rounded to whole
            -- amounts, halves away from zero (ROUND of a FLOAT).
            -- 8. Error rows and empty days count nothing.
            [fSalary] = CASE
                WHEN r.bValid = 0 THEN 0
                WHEN r.bRound = 0 THEN c.[fSalary]
                WHEN r.typeSalary = 3 THEN ROUND(r.fRate * r.nWorkingRounded / r.nUnit, 0)
                WHEN r.typeSalary = 2 THEN r.fRate
                ELSE c.[fSalary] END,
            [fOvertimePay] = CASE
                WHEN r.bValid = 0 THEN 0
                WHEN r.bRound = 0 THEN c.[fOvertimePay]
                ELSE ROUND(r.fOvertimeRate * r.nOvertimeRounded / r.nUnit, 0) END
        FROM [dbo].[Tタイムカード] AS c
        INNER JOIN (
            -- 6. Rounding to the pay unit, only with a rounding mode 1 to 3 and a unit above
            -- 0: both counts are cut down to a multiple of the unit, then mode 1 adds a unit
            -- for any remainder and mode 3 for a remainder above half the unit (integer half).
            SELECT capped.*,
                   CASE WHEN capped.bValid = 1 AND capped.bRound = 1 THEN
                       capped.nWorking - capped.nWorking % capped.nUnit
                       + CASE WHEN (capped.flgRound = 1 AND capped.nWorking % capped.nUnit > 0)
                                   OR (capped.flgRound = 3
                                       AND capped.nWorking % capped.nUnit > capped.nUnit / 2)
                              THEN capped.nUnit ELSE 0 END
                   ELSE capped.nWorking END AS nWorkingRounded,
                   CASE WHEN capped.bValid = 1 AND capped.bRound = 1 THEN
                       capped.nOvertime - capped.nOvertime % capped.nUnit
                       + CASE WHEN (capped.flgRound = 1 AND capped.nOvertime % capped.nUnit > 0)
                                   OR (capped.flgRound = 3
                                       AND capped.nOvertime % capped.nUnit > capped.nUnit / 2)
                              THEN capped.nUnit ELSE 0 END
                   ELSE capped.nOvertime END AS nOvertimeRounded
            FROM (
                -- 5. Overtime is part of the working time.
                SELECT overtime.*,
                       CASE WHEN overtime.nOvertimeRaw > overtime.nWorking THEN overtime.nWorking
                            ELSE overtime.nOvertimeRaw END AS nOvertime,
                       CASE WHEN overtime.flgRound IN (1, 2, 3) AND overtime.nUnit > 0
                            THEN 1 ELSE 0 END AS bRound
                FROM (
                    -- 3. No time worked is an error.
                    -- 4. Overtime by the group rule: 4 beyond eight hours, 1 early arrival
                    -- before the contractual start, 2 late departure after the contractual end,
                    -- 3 both, anything else none.
                    SELECT worked.*,
                           CASE WHEN worked.nSet = 2 AND worked.nWorking > 0
                                THEN 1 ELSE 0 END AS bValid,
                           CASE WHEN worked.typeOvertime = 4 THEN
                                    CASE WHEN worked.nWorking > 480
                                         THEN worked.nWorking - 480 ELSE 0 END
                                WHEN worked.typeOvertime IN (1, 2, 3) THEN
                                    CASE WHEN worked.typeOvertime IN (1, 3) AND worked.nEarly > 0
                                         THEN worked.nEarly ELSE 0 END
                                    + CASE WHEN worked.typeOvertime IN (2, 3) AND worked.nLate > 0
                                           THEN worked.nLate ELSE 0 END
                                ELSE 0 END AS nOvertimeRaw
                    FROM (
                        -- 2. Working minutes: departure - arrival - lunch, a day more when the
                        -- option is set. Early arrival counts a day more with option 1, late
                        -- departure with option 2.
                        SELECT stamps.*,
                               CASE WHEN stamps.nSet = 2 THEN
                                   stamps.nDeparture - stamps.nArrival - stamps.nLunch
                                   + CASE WHEN stamps.nOption <> 0 THEN 1440 ELSE 0 END
                               ELSE 0 END AS nWorking,
                               stamps.nStart - stamps.nArrival
                               + CASE WHEN stamps.nOption = 1 THEN 1440 ELSE 0 END AS nEarly,
                               stamps.nDeparture - stamps.nEnd
                               + CASE WHEN stamps.nOption = 2 THEN 1440 ELSE 0 END AS nLate
                        FROM (
                            -- 1. The times set (exactly one is an error, none an empty day) and
                            -- the day option. With both times set and the departure earlier
                            -- than the arrival, the option is 2 (next day) when the departure
                            -- hour is below 8, else 1 (previous day) when the arrival hour is
                            -- above 18, else the option the user chose. Otherwise it is 0.
                            -- A contractual time that is NULL counts as midnight, the default
                            -- of the user row.
                            SELECT card.[idTimeCard],
                                   CASE WHEN card.[timeFrom] >= CONVERT(DATETIME, '19700102', 112) THEN 1 ELSE 0 END
                                   + CASE WHEN card.[timeTo] >= CONVERT(DATETIME, '19700102', 112) THEN 1 ELSE 0 END
                                       AS nSet,
                                   CASE WHEN card.[timeFrom] IS NULL
                                             OR card.[timeFrom] < CONVERT(DATETIME, '19700102', 112)
                                             OR card.[timeTo] IS NULL
                                             OR card.[timeTo] < CONVERT(DATETIME, '19700102', 112) THEN 0
                                        WHEN card.[timeTo] < card.[timeFrom] THEN CASE
                                            WHEN DATEPART(HOUR, card.[timeTo]) < 8 THEN 2
                                            WHEN DATEPART(HOUR, card.[timeFrom]) > 18 THEN 1
                                            ELSE card.[flgOption] END
                                        ELSE 0 END AS nOption,
                                   DATEPART(HOUR, card.[timeFrom]) * 60
                                   + DATEPART(MINUTE, card.[timeFrom]) AS nArrival,
                                   DATEPART(HOUR, card.[timeTo]) * 60
                                   + DATEPART(MINUTE, card.[timeTo]) AS nDeparture,
                                   card.[nLunchMin] AS nLunch,
                                   COALESCE(DATEPART(HOUR, u.[timeFrom]) * 60
                                            + DATEPART(MINUTE, u.[timeFrom]), 0) AS nStart,
                                   COALESCE(DATEPART(HOUR, u.[timeTo]) * 60
                                            + DATEPART(MINUTE, u.[timeTo]), 0) AS nEnd,
                                   CAST(u.[fSalary] AS FLOAT) AS fRate,
                                   CAST(u.[fOvertimePay] AS FLOAT) AS fOvertimeRate,
                                   g.[typeSalary],
                                   g.[typeOvertime],
                                   g.[nTimePerSalary] AS nUnit,
                                   g.[flgRound]
                            FROM [dbo].[Tユーザー] AS u
                                 INNER JOIN [dbo].[Tユーザーグループ] AS g ON g.[idGroup] = u.[idGroup]
                                 INNER JOIN [dbo].[Tタイムカード] AS card ON card.[idUser] = u.[idUser]
                            WHERE g.[idGroup] = @idGroup
                              AND card.[nYear] BETWEEN @from / 10000 AND @to / 10000
                              AND card.[nYear] * 10000 + card.[nMonth] * 100 + card.[nDay]
                                  BETWEEN @from AND @to
                        ) AS stamps
                    ) AS worked
                ) AS overtime
            ) AS capped
        ) AS r
            ON r.idTimeCard = c.[idTimeCard];

        DELETE FROM [dbo].[T給料]
        WHERE [idGroup] = @idGroup
          AND [nYear] = @to / 10000
          AND [nMonth] = (@to / 100) % 100;

        INSERT INTO [dbo].[T給料] ([idUser], [idGroup], [nWorkingMin], [nOvertimeMin],
                                   [nYear], [nMonth], [fSalary], [fOvertimePay], [nDays], [nErr])
        SELECT u.[idUser], g.[idGroup],
               COALESCE(SUM(c.[nWorkingMin]), 0),
               COALESCE(SUM(c.[nOvertimeMin]), 0),
               @to / 10000,
               (@to / 100) % 100,
               CASE WHEN g.[typeSalary] = 1 THEN u.[fSalary]
                    ELSE COALESCE(SUM(CAST(c.[fSalary] AS FLOAT)), 0) END,
               COALESCE(SUM(CAST(c.[fOvertimePay] AS FLOAT)), 0),
               COALESCE(SUM(CASE WHEN c.[nWorkingMin] > 0 THEN 1 ELSE 0 END), 0),
               COALESCE(SUM(CASE WHEN c.[flgErr] = 1 THEN 1 ELSE 0 END), 0)
        FROM [dbo].[Tユーザー] AS u
             INNER JOIN [dbo].[Tユーザーグループ] AS g ON g.[idGroup] = u.[idGroup]
             LEFT JOIN [dbo].[Tタイムカード] AS c
                    ON c.[idUser] = u.[idUser]
                   AND c.[nYear] BETWEEN @from / 10000 AND @to / 10000
                   AND c.[nYear] * 10000 + c.[nMonth] * 100 + c.[nDay] BETWEEN @from AND @to
        WHERE g.[idGroup] = @idGroup
          AND u.[nLevel] BETWEEN 0 AND 3
        GROUP BY u.[idUser], g.[idGroup], g.[typeSalary], u.[fSalary], u.[nLevel]
        HAVING u.[nLevel] > 0
            OR COUNT(CASE WHEN c.[timeFrom] >= CONVERT(DATETIME, '19700102', 112)
                          OR c.[timeTo] >= CONVERT(DATETIME, '19700102', 112)
                        THEN 1 END) > 0
        ORDER BY u.[idUser];

        IF @outerTransactions = 0
            COMMIT TRANSACTION;
    END TRY
    BEGIN CATCH
        SELECT @error = ERROR_NUMBER(), @message = ERROR_MESSAGE(), @state = XACT_STATE();
        -- A doomed transaction can only be rolled back whole, the caller one included.
        IF @state = -1
            ROLLBACK TRANSACTION;
        ELSE IF @state = 1 AND @outerTransactions = 0
            ROLLBACK TRANSACTION;
        ELSE IF @state = 1
            ROLLBACK TRANSACTION PayCalculation;
        RAISERROR(N'P計算: %d %s', 16, 1, @error, @message);
    END CATCH;
END;
GO
