-- Velora Incentive database for SQL Server (reached through ODBC).
-- Run with sqlcmd against an empty database. The suite's own tables are created only when
-- they are missing, so the script also serves a database the suite already uses.
SET NOCOUNT ON;
GO

IF OBJECT_ID('dbo.System_partitions') IS NULL
CREATE TABLE dbo.System_partitions (
    partition_id          int NOT NULL PRIMARY KEY,
    parent_id             int NOT NULL DEFAULT 0,
    partition_name        varchar(40) NOT NULL,
    partition_description varchar(255) NULL,
    share_bitmask         bit NOT NULL DEFAULT 0,
    partition_type        int NOT NULL DEFAULT 0,
    access_flag           char(255) NOT NULL DEFAULT '',
    delete_date           datetime NULL,
    flag1 int NULL, flag2 int NULL, flag3 int NULL, flag4 int NULL, flag5 int NULL, flag6 int NULL,
    string1 varchar(50) NULL, string2 varchar(50) NULL, string3 varchar(50) NULL,
    date1 datetime NULL, date2 datetime NULL
);
GO

IF OBJECT_ID('dbo.Account_info') IS NULL
CREATE TABLE dbo.Account_info (
    hosp_acct_id          int NOT NULL PRIMARY KEY,
    hosp_acct_name        varchar(100) NOT NULL DEFAULT '',
    hosp_acct_description varchar(255) NULL,
    is_deleted            int NOT NULL DEFAULT 0,
    partition_id          int NOT NULL DEFAULT 0
);
GO

IF OBJECT_ID('dbo.Trans_info') IS NULL
CREATE TABLE dbo.Trans_info (
    trans_id                 varchar(30) NOT NULL PRIMARY KEY,
    first_name               varchar(50) NULL,
    last_name                varchar(50) NULL,
    is_deleted               int NOT NULL DEFAULT 0,
    trans_type               int NOT NULL DEFAULT 1,
    extra3                   int NULL,
    incentive_group_id       int NULL,
    incentive_effective_date datetime NULL
);
GO

IF OBJECT_ID('dbo.Trans_activity') IS NULL
CREATE TABLE dbo.Trans_activity (
    activity_id    int IDENTITY(1,1) PRIMARY KEY,
    trans_id       varchar(30) NOT NULL,
    shift_date     datetime NOT NULL,
    activity_time  int NOT NULL DEFAULT 0,
    work_type      int NOT NULL DEFAULT 1,
    update_type    int NOT NULL DEFAULT 0,
    count_activity int NOT NULL DEFAULT 1
);
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = 'ix_trans_activity_user_day')
CREATE INDEX ix_trans_activity_user_day ON dbo.Trans_activity (trans_id, shift_date);
GO

CREATE TABLE dbo.Trans_incentive (
    trans_id     varchar(30) NOT NULL,
    hosp_acct_id int NOT NULL,
    shift_date   datetime NOT NULL,
    dept_id      int NOT NULL DEFAULT 0,
    locked       int NOT NULL DEFAULT 0,
    number_rpts                 float NOT NULL DEFAULT 0,
    number_rpts_modified        float NOT NULL DEFAULT 0,
    chars                       float NOT NULL DEFAULT 0,
    chars_modified              float NOT NULL DEFAULT 0,
    lines                       float NOT NULL DEFAULT 0,
    lines_modified              float NOT NULL DEFAULT 0,
    pages                       float NOT NULL DEFAULT 0,
    pages_modified              float NOT NULL DEFAULT 0,
    hours_typed                 float NOT NULL DEFAULT 0,
    hours_typed_modified        float NOT NULL DEFAULT 0,
    hours_system                float NOT NULL DEFAULT 0,
    hours_system_modified       float NOT NULL DEFAULT 0,
    hours_other                 float NOT NULL DEFAULT 0,
    hours_other_modified        float NOT NULL DEFAULT 0,
    incent_hours_typed          float NOT NULL DEFAULT 0,
    incent_hours_typed_modified float NOT NULL DEFAULT 0,
    incent_typed                float NOT NULL DEFAULT 0,
    incent_typed_modified       float NOT NULL DEFAULT 0,
    incent_pay                  float NOT NULL DEFAULT 0,
    incent_pay_modified         float NOT NULL DEFAULT 0,
    CONSTRAINT pk_trans_incentive PRIMARY KEY (trans_id, hosp_acct_id, shift_date)
);
-- As in the embedded schema: only the two filtered indexes hold rows by `locked`, so a lock-out
-- moves a row from one to the other and changes no other index.
CREATE INDEX ix_trans_incentive_user_day ON dbo.Trans_incentive (trans_id, shift_date);
CREATE INDEX ix_trans_incentive_unlocked ON dbo.Trans_incentive (shift_date) WHERE locked = 0;
CREATE INDEX ix_trans_incentive_locked_day ON dbo.Trans_incentive (shift_date) WHERE locked = 1;
GO

CREATE TABLE dbo.Incentive_formula (
    formula_id               int NOT NULL PRIMARY KEY,
    formula_name             varchar(50) NOT NULL,
    formula_text             varchar(max) NOT NULL DEFAULT '',
    partition_id             int NOT NULL DEFAULT 0,
    incentive_effective_date datetime NULL,
    -- Names need only be unique within a partition: each partition may have its own
    -- "Base Incentive".
    CONSTRAINT uq_incentive_formula_name UNIQUE (partition_id, formula_name)
);

CREATE TABLE dbo.Incentive_group (
    group_id                 int NOT NULL PRIMARY KEY,
    group_name               varchar(50) NOT NULL,
    partition_id             int NOT NULL DEFAULT 0,
    incentive_effective_date datetime NULL,
    flag1                    int NOT NULL DEFAULT 0,
    CONSTRAINT uq_incentive_group_name UNIQUE (partition_id, group_name)
);

CREATE TABLE dbo.Incentive_group_formula (
    group_id                int NOT NULL,
    account_id              int NOT NULL,
    typed_formula_id        int NULL,
    hours_worked_formula_id int NULL,
    pay_formula_id          int NULL,
    CONSTRAINT pk_incentive_group_formula PRIMARY KEY (group_id, account_id)
);

CREATE TABLE dbo.Incentive_preference (
    user_id      int NOT NULL,
    pref_type    int NOT NULL DEFAULT 4,
    pref_key     varchar(50) NOT NULL,
    pref_value   varchar(255) NULL,
    partition_id int NOT NULL DEFAULT -1,
    CONSTRAINT pk_incentive_preference PRIMARY KEY (pref_key, user_id, partition_id)
);

CREATE TABLE dbo.Incentive_recalc_request (
    request_id   int IDENTITY(1,1) PRIMARY KEY,
    requested_at datetime NOT NULL,
    requested_by varchar(50) NULL,
    filter       varchar(max) NOT NULL DEFAULT '',
    start_date   datetime NOT NULL,
    end_date     datetime NOT NULL,
    status       int NOT NULL DEFAULT 0,
    done_at      datetime NULL,
    message      varchar(max) NULL,
    claim_host   varchar(255) NULL,
    claim_pid    bigint NULL,
    heartbeat_at datetime NULL,
    attempts     int NOT NULL DEFAULT 0
);
CREATE INDEX ix_recalc_request_status ON dbo.Incentive_recalc_request (status, request_id);
GO

IF OBJECT_ID('dbo.Suite_user') IS NULL
CREATE TABLE dbo.Suite_user (
    user_id          int IDENTITY(1,1) PRIMARY KEY,
    user_name        varchar(50) NOT NULL UNIQUE,
    password_hash    varchar(255) NOT NULL DEFAULT '',
    trans_id         varchar(30) NULL,
    partition_id     int NOT NULL DEFAULT 0,
    first_name       varchar(50) NULL,
    last_name        varchar(50) NULL,
    is_administrator int NOT NULL DEFAULT 0,
    is_disabled      int NOT NULL DEFAULT 0,
    failed_logins    int NOT NULL DEFAULT 0,
    is_locked_out    int NOT NULL DEFAULT 0
);
IF OBJECT_ID('dbo.Suite_user_privilege') IS NULL
CREATE TABLE dbo.Suite_user_privilege (
    user_id   int NOT NULL,
    privilege int NOT NULL,
    CONSTRAINT pk_suite_user_privilege PRIMARY KEY (user_id, privilege)
);
IF OBJECT_ID('dbo.Suite_info') IS NULL
CREATE TABLE dbo.Suite_info (
    info_key   varchar(50) NOT NULL PRIMARY KEY,
    info_value varchar(255) NULL
);
GO

-- Procedures -----------------------------------------------------------------------------------

IF OBJECT_ID('dbo.partition_select_children') IS NOT NULL DROP PROCEDURE dbo.partition_select_children;
GO
CREATE PROCEDURE dbo.partition_select_children @partition_id int
AS
BEGIN
    SET NOCOUNT ON;
    WITH tree (id, depth, lineage) AS (
        SELECT partition_id, 0, CAST('/' + CAST(partition_id AS varchar(12)) + '/' AS varchar(255))
        FROM dbo.System_partitions WHERE partition_id = @partition_id AND delete_date IS NULL
        UNION ALL
        SELECT p.partition_id, tree.depth + 1,
               CAST(tree.lineage + CAST(p.partition_id AS varchar(12)) + '/' AS varchar(255))
        FROM dbo.System_partitions p JOIN tree ON p.parent_id = tree.id
        WHERE p.partition_id <> p.parent_id AND p.delete_date IS NULL AND tree.depth < 64
    )
    SELECT p.partition_id, p.parent_id, p.partition_name, p.partition_description, p.share_bitmask,
           CAST(tree.depth AS tinyint) AS depth, tree.lineage, p.partition_type, p.access_flag,
           p.delete_date, p.flag1, p.flag2, p.flag3, p.flag4, p.flag5, p.flag6,
           p.string1, p.string2, p.string3, p.date1, p.date2
    FROM tree JOIN dbo.System_partitions p ON p.partition_id = tree.id
    ORDER BY tree.depth, p.partition_id;
END
GO

IF OBJECT_ID('dbo.usp_incentive_get_preference') IS NOT NULL DROP PROCEDURE dbo.usp_incentive_get_preference;
GO
CREATE PROCEDURE dbo.usp_incentive_get_preference
    @pref_key varchar(50), @user_id int, @partition_id int = NULL
AS
BEGIN
    SET NOCOUNT ON;
    SELECT pref_value FROM dbo.Incentive_preference
    WHERE pref_key = @pref_key AND user_id = @user_id AND partition_id = ISNULL(@partition_id, -1);
END
GO

IF OBJECT_ID('dbo.usp_incentive_add_preference') IS NOT NULL DROP PROCEDURE dbo.usp_incentive_add_preference;
GO
CREATE PROCEDURE dbo.usp_incentive_add_preference
    @user_id int, @pref_type int, @pref_key varchar(50), @pref_value varchar(255),
    @partition_id int = NULL
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @partition int = ISNULL(@partition_id, -1);
    DELETE FROM dbo.Incentive_preference
    WHERE pref_key = @pref_key AND user_id = @user_id AND partition_id = @partition;
    INSERT INTO dbo.Incentive_preference (user_id, pref_type, pref_key, pref_value, partition_id)
    VALUES (@user_id, @pref_type, @pref_key, @pref_value, @partition);
END
GO

IF OBJECT_ID('dbo.usp_incentive_add_formula') IS NOT NULL DROP PROCEDURE dbo.usp_incentive_add_formula;
GO
CREATE PROCEDURE dbo.usp_incentive_add_formula
    @formula_name varchar(50), @formula_text varchar(max), @partition_id int = 0,
    @formula_id int OUTPUT
AS
BEGIN
    SET NOCOUNT ON;
    SET @formula_id = 0;
    -- A name is taken only within the formula's own partition.
    IF EXISTS (SELECT * FROM dbo.Incentive_formula
               WHERE formula_name = @formula_name AND partition_id = ISNULL(@partition_id, 0))
        RETURN;
    BEGIN TRANSACTION;
    SELECT @formula_id = ISNULL(MAX(formula_id), 0) + 1 FROM dbo.Incentive_formula WITH (TABLOCKX);
    INSERT INTO dbo.Incentive_formula (formula_id, formula_name, formula_text, partition_id)
    VALUES (@formula_id, @formula_name, @formula_text, ISNULL(@partition_id, 0));
    COMMIT TRANSACTION;
END
GO

IF OBJECT_ID('dbo.usp_incentive_add_group') IS NOT NULL DROP PROCEDURE dbo.usp_incentive_add_group;
GO
CREATE PROCEDURE dbo.usp_incentive_add_group
    @partition_id int = 0, @is_default int = 0, @group_name varchar(50), @group_id int OUTPUT
AS
BEGIN
    SET NOCOUNT ON;
    SET @group_id = 0;
    -- A name is taken only within the group's own partition.
    IF EXISTS (SELECT * FROM dbo.Incentive_group
               WHERE group_name = @group_name AND partition_id = ISNULL(@partition_id, 0))
        RETURN;
    BEGIN TRANSACTION;
    SELECT @group_id = ISNULL(MAX(group_id), 0) + 1 FROM dbo.Incentive_group WITH (TABLOCKX);
    -- A partition has one default group: a new default takes the mark from the old one.
    IF ISNULL(@is_default, 0) <> 0
        UPDATE dbo.Incentive_group SET flag1 = 0 WHERE partition_id = ISNULL(@partition_id, 0);
    INSERT INTO dbo.Incentive_group (group_id, group_name, partition_id, incentive_effective_date,
                                     flag1)
    VALUES (@group_id, @group_name, ISNULL(@partition_id, 0), CAST(GETDATE() AS date),
            CASE WHEN ISNULL(@is_default, 0) <> 0 THEN 1 ELSE 0 END);
    COMMIT TRANSACTION;
END
GO

-- Base rows --------------------------------------------------------------------------------------

IF NOT EXISTS (SELECT * FROM dbo.Suite_info WHERE info_key = 'DatabaseVersion')
    INSERT INTO dbo.Suite_info (info_key, info_value) VALUES ('DatabaseVersion', '2.024');
IF NOT EXISTS (SELECT * FROM dbo.System_partitions WHERE partition_id = 0)
    INSERT INTO dbo.System_partitions (partition_id, parent_id, partition_name, partition_description)
    VALUES (0, 0, 'Base', 'Base partition');
INSERT INTO dbo.Incentive_formula (formula_id, formula_name, formula_text, partition_id,
                                   incentive_effective_date)
VALUES (1, 'Default Formula',
        'Results.IHours = 0' + CHAR(13) + CHAR(10) + 'Results.ILines = 0' + CHAR(13) + CHAR(10) +
        'Results.IPay = 0', 0, '1980-01-01');
INSERT INTO dbo.Incentive_group (group_id, group_name, partition_id, incentive_effective_date, flag1)
VALUES (1, 'Default Group', 0, '1980-01-01', 1);
INSERT INTO dbo.Incentive_group_formula (group_id, account_id, typed_formula_id,
                                         hours_worked_formula_id, pay_formula_id)
VALUES (1, -1, 1, 1, 1);
GO
