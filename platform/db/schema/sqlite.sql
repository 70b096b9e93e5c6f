-- Velora Incentive database for the embedded engine (SQLite).
-- Text columns that statements compare use the TEXTCI collation, which the engine registers:
-- letter case and trailing blanks are ignored, as SQL Server's default collation does.
-- Dates are stored as 'YYYY-MM-DD' text.


-- Suite tables ------------------------------------------------------------------------------

CREATE TABLE System_partitions (
    partition_id          INTEGER NOT NULL PRIMARY KEY,
    parent_id             INTEGER NOT NULL DEFAULT 0,
    partition_name        TEXT COLLATE TEXTCI NOT NULL,
    partition_description TEXT COLLATE TEXTCI NULL,
    share_bitmask         INTEGER NOT NULL DEFAULT 0,
    partition_type        INTEGER NOT NULL DEFAULT 0,
    access_flag           TEXT NOT NULL DEFAULT '',
    delete_date           TEXT NULL,
    flag1 INTEGER NULL, flag2 INTEGER NULL, flag3 INTEGER NULL,
    flag4 INTEGER NULL, flag5 INTEGER NULL, flag6 INTEGER NULL,
    string1 TEXT NULL, string2 TEXT NULL, string3 TEXT NULL,
    date1 TEXT NULL, date2 TEXT NULL
);
CREATE INDEX ix_system_partitions_parent ON System_partitions (parent_id);

CREATE TABLE Account_info (
    hosp_acct_id          INTEGER NOT NULL PRIMARY KEY,
    hosp_acct_name        TEXT COLLATE TEXTCI NOT NULL DEFAULT '',
    hosp_acct_description TEXT COLLATE TEXTCI NULL,
    is_deleted            INTEGER NOT NULL DEFAULT 0,
    partition_id          INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE Trans_info (
    trans_id                 TEXT COLLATE TEXTCI NOT NULL PRIMARY KEY,
    first_name               TEXT COLLATE TEXTCI NULL,
    last_name                TEXT COLLATE TEXTCI NULL,
    is_deleted               INTEGER NOT NULL DEFAULT 0,
    trans_type               INTEGER NOT NULL DEFAULT 1,
    extra3                   INTEGER NULL,
    incentive_group_id       INTEGER NULL,
    incentive_effective_date TEXT NULL
);
CREATE INDEX ix_trans_info_group ON Trans_info (incentive_group_id);

CREATE TABLE Trans_activity (
    activity_id    INTEGER PRIMARY KEY,
    trans_id       TEXT COLLATE TEXTCI NOT NULL,
    shift_date     TEXT NOT NULL,
    activity_time  INTEGER NOT NULL DEFAULT 0,
    work_type      INTEGER NOT NULL DEFAULT 1,
    update_type    INTEGER NOT NULL DEFAULT 0,
    count_activity INTEGER NOT NULL DEFAULT 1
);
CREATE INDEX ix_trans_activity_user_day ON Trans_activity (trans_id, shift_date);

-- Incentive tables --------------------------------------------------------------------------

CREATE TABLE Trans_incentive (
    trans_id     TEXT COLLATE TEXTCI NOT NULL,
    hosp_acct_id INTEGER NOT NULL,
    shift_date   TEXT NOT NULL,
    dept_id      INTEGER NOT NULL DEFAULT 0,
    locked       INTEGER NOT NULL DEFAULT 0,
    number_rpts                 REAL NOT NULL DEFAULT 0,
    number_rpts_modified        REAL NOT NULL DEFAULT 0,
    chars                       REAL NOT NULL DEFAULT 0,
    chars_modified              REAL NOT NULL DEFAULT 0,
    lines                       REAL NOT NULL DEFAULT 0,
    lines_modified              REAL NOT NULL DEFAULT 0,
    pages                       REAL NOT NULL DEFAULT 0,
    pages_modified              REAL NOT NULL DEFAULT 0,
    hours_typed                 REAL NOT NULL DEFAULT 0,
    hours_typed_modified        REAL NOT NULL DEFAULT 0,
    hours_system                REAL NOT NULL DEFAULT 0,
    hours_system_modified       REAL NOT NULL DEFAULT 0,
    hours_other                 REAL NOT NULL DEFAULT 0,
    hours_other_modified        REAL NOT NULL DEFAULT 0,
    incent_hours_typed          REAL NOT NULL DEFAULT 0,
    incent_hours_typed_modified REAL NOT NULL DEFAULT 0,
    incent_typed                REAL NOT NULL DEFAULT 0,
    incent_typed_modified       REAL NOT NULL DEFAULT 0,
    incent_pay                  REAL NOT NULL DEFAULT 0,
    incent_pay_modified         REAL NOT NULL DEFAULT 0,
    PRIMARY KEY (trans_id, hosp_acct_id, shift_date)
);
-- Indexes that hold `locked` are what a lock-out has to change besides the row itself, so only
-- two partial indexes do, and a lock-out changes one entry in each: it takes the row out of the
-- unlocked rows and puts it into the locked days. A row already locked is not written again.
-- The account summary, the period totals and the engine read a user's days across accounts.
CREATE INDEX ix_trans_incentive_user_day ON Trans_incentive (trans_id, shift_date);
-- The rows a recalculation has to do and the rows a lock-out still has to lock.
CREATE INDEX ix_trans_incentive_unlocked ON Trans_incentive (shift_date) WHERE locked = 0;
-- The last locked date (the week load's lock test) is one step into the locked days.
CREATE INDEX ix_trans_incentive_locked_day ON Trans_incentive (shift_date) WHERE locked = 1;

CREATE TABLE Incentive_formula (
    formula_id               INTEGER NOT NULL PRIMARY KEY,
    formula_name             TEXT COLLATE TEXTCI NOT NULL,
    formula_text             TEXT NOT NULL DEFAULT '',
    partition_id             INTEGER NOT NULL DEFAULT 0,
    incentive_effective_date TEXT NULL,
    -- Names need only be unique within a partition: each partition may have its own
    -- "Base Incentive".
    CONSTRAINT uq_incentive_formula_name UNIQUE (partition_id, formula_name)
);

CREATE TABLE Incentive_group (
    group_id                 INTEGER NOT NULL PRIMARY KEY,
    group_name               TEXT COLLATE TEXTCI NOT NULL,
    partition_id             INTEGER NOT NULL DEFAULT 0,
    incentive_effective_date TEXT NULL,
    flag1                    INTEGER NOT NULL DEFAULT 0,
    CONSTRAINT uq_incentive_group_name UNIQUE (partition_id, group_name)
);

CREATE TABLE Incentive_group_formula (
    group_id                INTEGER NOT NULL,
    account_id              INTEGER NOT NULL,
    typed_formula_id        INTEGER NULL,
    hours_worked_formula_id INTEGER NULL,
    pay_formula_id          INTEGER NULL,
    PRIMARY KEY (group_id, account_id)
);

-- Storage of the two preference procedures: one row per key, user and partition
-- (partition_id -1 stands for "no partition").
CREATE TABLE Incentive_preference (
    user_id      INTEGER NOT NULL,
    pref_type    INTEGER NOT NULL DEFAULT 4,
    pref_key     TEXT COLLATE TEXTCI NOT NULL,
    pref_value   TEXT NULL,
    partition_id INTEGER NOT NULL DEFAULT -1,
    PRIMARY KEY (pref_key, user_id, partition_id)
);

-- Recalculation requests queued while local updates are disabled.
CREATE TABLE Incentive_recalc_request (
    request_id   INTEGER PRIMARY KEY,
    requested_at TEXT NOT NULL,
    requested_by TEXT NULL,
    filter       TEXT NOT NULL DEFAULT '',
    start_date   TEXT NOT NULL,
    end_date     TEXT NOT NULL,
    status       INTEGER NOT NULL DEFAULT 0, -- 0 queued, 1 running, 2 done, 3 failed
    done_at      TEXT NULL,
    message      TEXT NULL,
    claim_host   TEXT NULL,                  -- host of the server that claimed it
    claim_pid    INTEGER NULL,               -- its process id on that host
    heartbeat_at TEXT NULL,                  -- UTC time the claimer last said it is alive
    attempts     INTEGER NOT NULL DEFAULT 0  -- times claimed
);
CREATE INDEX ix_recalc_request_status ON Incentive_recalc_request (status, request_id);

-- Login tables of the suite ------------------------------------------------------------------

CREATE TABLE Suite_user (
    user_id          INTEGER PRIMARY KEY,
    user_name        TEXT COLLATE TEXTCI NOT NULL UNIQUE,
    password_hash    TEXT NOT NULL DEFAULT '',
    trans_id         TEXT COLLATE TEXTCI NULL,
    partition_id     INTEGER NOT NULL DEFAULT 0,
    first_name       TEXT NULL,
    last_name        TEXT NULL,
    is_administrator INTEGER NOT NULL DEFAULT 0,
    is_disabled      INTEGER NOT NULL DEFAULT 0,
    failed_logins    INTEGER NOT NULL DEFAULT 0,
    is_locked_out    INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE Suite_user_privilege (
    user_id   INTEGER NOT NULL,
    privilege INTEGER NOT NULL,
    PRIMARY KEY (user_id, privilege)
);

CREATE TABLE Suite_info (
    info_key   TEXT COLLATE TEXTCI NOT NULL PRIMARY KEY,
    info_value TEXT NULL
);

-- Base rows of every database -----------------------------------------------------------------

INSERT INTO Suite_info (info_key, info_value) VALUES ('DatabaseVersion', '2.024');
INSERT INTO System_partitions (partition_id, parent_id, partition_name, partition_description)
    VALUES (0, 0, 'Base', 'Base partition');
INSERT INTO Incentive_formula (formula_id, formula_name, formula_text, partition_id,
                               incentive_effective_date)
    VALUES (1, 'Default Formula',
            'Results.IHours = 0' || char(13, 10) || 'Results.ILines = 0' || char(13, 10) ||
            'Results.IPay = 0', 0, '1980-01-01');
INSERT INTO Incentive_group (group_id, group_name, partition_id, incentive_effective_date, flag1)
    VALUES (1, 'Default Group', 0, '1980-01-01', 1);
INSERT INTO Incentive_group_formula (group_id, account_id, typed_formula_id,
                                     hours_worked_formula_id, pay_formula_id)
    VALUES (1, -1, 1, 1, 1);
