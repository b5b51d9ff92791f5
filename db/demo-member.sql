-- The demo member of the local stack: ID demo01, password 1234 (stored as its digest).
INSERT IGNORE INTO Customer (name, user_id, password, phone, status, note2, note3, note4)
VALUES ('데모회원', 'demo01', '03ac674216f3e15c761ee1a5e255f067953623c8b388b4459e13f978d7c846f4',
        '01000000000', 'Active', 'demo@example.com', '', '');
