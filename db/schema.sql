-- Member database. Loaded into a fresh server by scripts/memberdb; safe to load again.
CREATE DATABASE IF NOT EXISTS CustomerDB
  CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
USE CustomerDB;

-- One row per member. The login compares user_id byte for byte in its statement
-- (CAST AS BINARY), so the column keeps the ordinary case-insensitive collation
-- that the password change relies on, and uniqueness is case-insensitive too.
CREATE TABLE IF NOT EXISTS Customer (
  id       INT UNSIGNED NOT NULL AUTO_INCREMENT PRIMARY KEY,
  name     VARCHAR(50)  NOT NULL DEFAULT '',
  user_id  VARCHAR(32)  NOT NULL,
  password CHAR(64)     NOT NULL,
  phone    VARCHAR(20)  NOT NULL DEFAULT '',
  status   VARCHAR(20)  NOT NULL DEFAULT 'Active',
  note2    VARCHAR(100) NOT NULL DEFAULT '',
  -- Server date ("YYYY-MM-DD") of the last temporary password, or the empty text.
  -- A short text column rather than DATE: sign-up stores the empty text.
  note3    VARCHAR(10)  NULL DEFAULT '',
  note4    VARCHAR(100) NOT NULL DEFAULT '',
  UNIQUE KEY uq_customer_user_id (user_id),
  KEY ix_customer_phone (phone),
  KEY ix_customer_note2 (note2)
) ENGINE=InnoDB;

-- One row per device (IPAddress holds the device's MAC address text); the primary
-- key on it makes the sign-up's INSERT ... ON DUPLICATE KEY UPDATE refresh the row.
CREATE TABLE IF NOT EXISTS AuthLog (
  IPAddress    VARCHAR(64) NOT NULL PRIMARY KEY,
  PhoneNumber  VARCHAR(20) NOT NULL DEFAULT '',
  LastAuthTime DATETIME    NOT NULL
) ENGINE=InnoDB;
