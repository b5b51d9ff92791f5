-- The program's account: only the statements the client runs, nothing more.
-- Run with @app_user, @app_host and @app_password set.
SET @create = CONCAT('CREATE USER IF NOT EXISTS ', QUOTE(@app_user), '@', QUOTE(@app_host),
                     ' IDENTIFIED BY ', QUOTE(@app_password));
PREPARE s FROM @create; EXECUTE s; DEALLOCATE PREPARE s;

SET @grantee = CONCAT(QUOTE(@app_user), '@', QUOTE(@app_host));
SET @g1 = CONCAT('GRANT SELECT, INSERT, UPDATE (password, note3) ON CustomerDB.Customer TO ', @grantee);
-- INSERT ... ON DUPLICATE KEY UPDATE needs UPDATE on every column it inserts.
SET @g2 = CONCAT('GRANT SELECT, INSERT, DELETE, UPDATE ON CustomerDB.AuthLog TO ', @grantee);
PREPARE s FROM @g1; EXECUTE s; DEALLOCATE PREPARE s;
PREPARE s FROM @g2; EXECUTE s; DEALLOCATE PREPARE s;
