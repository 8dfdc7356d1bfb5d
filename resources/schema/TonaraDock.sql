-- The three reading tables a new TonaraDock.sqlite starts with. Column order and
-- integer types are part of the file format: rows are read with SELECT * by
-- position, and user numbers are compared with quoted text, which matches only
-- against integer columns. Plain rowid tables, so rows without an ORDER BY come
-- back in insertion order.

CREATE TABLE tonaradock_table (
    triv_id integer,
    date text,
    time text,
    sys integer,
    dia integer,
    pulse integer,
    diary text,
    is_triv integer,
    is_manual integer,
    user_id integer,
    is_pad integer
);

CREATE TABLE triv_table (
    id integer,
    times integer,
    sys integer,
    dia integer,
    pulse integer,
    date text
);

CREATE TABLE day_average (
    user_id integer,
    date text,
    sys integer,
    dia integer,
    pulse integer,
    time text
);

-- Speed only: the month, day and period queries, deletion by moment, the TRIV
-- series number and the TRIV detail. Nothing relies on them being there.
CREATE INDEX tonaradock_user_date_time ON tonaradock_table (user_id, date, time);
CREATE INDEX tonaradock_date_time ON tonaradock_table (date, time);
CREATE INDEX tonaradock_triv_id ON tonaradock_table (triv_id);
CREATE INDEX day_average_user_date ON day_average (user_id, date);
CREATE INDEX triv_table_id ON triv_table (id);
