-- Five more business objects for 8001, which then has 13: ten are named, three counted.
INSERT INTO ICClassType (FID, FName, FName_CHT, FName_EN, FBillTypeID, FControl, FFunctionID) VALUES
(1016, '经销商信用额度', '經銷商信用額度', 'Dealer Credit Limit', 1, 3, 8001),
(1017, '经销商等级', '經銷商等級', 'Dealer Tier', 1, 3, 8001),
(1018, '经销商保证金', '經銷商保證金', 'Dealer Deposit', 2, 3, 8001),
(1019, '经销商投诉', '經銷商投訴', 'Dealer Complaint', 2, 3, 8001),
(1020, '经销商培训', '經銷商培訓', 'Dealer Training', 2, 3, 8001);
