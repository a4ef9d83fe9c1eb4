-- Demonstration data: groups 850-852 and subsystems 8001-8010 as a
-- customer added them, with their business objects. Loaded after the base data.

INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FIndex, FVisible, FShowSysType, FAcctType) VALUES
(850, '客户化扩展', '客户化扩展', '客戶化擴充', 'Custom Extensions', 160, 1, 1, ',1,2,3,'),
(851, '行业套件', '行业套件', '產業套件', 'Industry Packs', 170, 1, 1, ',1,3,'),
(852, '试点项目', '试点项目', '試點專案', 'Pilot Projects', 180, 1, 1, ',1,');

INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, FName_CHT, FName_EN, FSUBID, FClassName, FVisible, FIndex, FAcctType, FShowSysType) VALUES
(8001, 850, '经销商门户', '经销商门户', '經銷商入口網站', 'Dealer Portal', 'dlr', 'DealerPortal.Application', 1, 1, ',1,2,3,', 3),
(8002, 850, '设备巡检', '设备巡检', '設備巡檢', 'Equipment Patrol Inspection', 'epi', 'QuarnBroxActive.Application', 1, 2, ',1,3,', 1),
(8003, 850, '门店管理', '门店管理', '門市管理', 'Store Operations', 'sto', 'QuarnBroxActive.Application', 1, 3, ',2,3,', 1),
(8004, 850, '条码采集', '条码采集', '條碼採集', 'Barcode Capture', 'bc', 'QuarnBroxActive.Application', 1, 4, ',1,2,3,', 1),
(8005, 850, '供应商评估', '供应商评估', '供應商評鑑', 'Supplier Evaluation', NULL, 'QuarnBroxActive.Application', 1, 5, ',1,', 1),
(8010, 851, '医药批号追踪', '医药批号追踪', '醫藥批號追蹤', 'Pharmaceutical Batch Tracking', 'pbt', 'PharmaTrace.Application', 1, 1, ',1,3,', 1);

INSERT INTO ICClassType (FID, FName, FName_CHT, FName_EN, FBillTypeID, FControl, FFunctionID) VALUES
(1001, '经销商', '經銷商', 'Dealer', 1, 7, 8001),
(1002, '经销区域', '經銷區域', 'Dealer Territory', 1, 3, 8001),
(1011, '经销商订单', '經銷商訂單', 'Dealer Order', 2, 3, 8001),
(1012, '经销商返利单', '經銷商返利單', 'Dealer Rebate Note', 7, 3, 8001),
(-110, '经销商对账单', '經銷商對帳單', 'Dealer Statement', 3, 7, 8001),
(1013, '经销商同步日志', '經銷商同步日誌', 'Dealer Sync Log', 5, 3, 8001),
(1014, '经销商门户会话', '經銷商入口網站工作階段', 'Dealer Portal Session', 6, 7, 8001),
(1015, '经销商订单草稿', '經銷商訂單草稿', 'Dealer Order Draft', 2, 1, 8001),
(1031, '门店日结单', '門市日結單', 'Store Daily Closing', 4, 3, 8003);

INSERT INTO t_DataFlowSubFunc (FSubFuncID, FSubSysID, FName, FName_CHT, FName_EN, FIndex) VALUES
(31, 8002, '巡检计划', '巡檢計畫', 'Inspection Plans', 1),
(32, 8002, '巡检记录', '巡檢記錄', 'Inspection Records', 2);

INSERT INTO t_MultiCheckFlow (FID, FName, FName_CHT, FName_EN, FSubSysID) VALUES
(4, '经销商订单审批', '經銷商訂單簽核', 'Dealer Order Approval', 8001);

INSERT INTO t_WorkFlow (FID, FName, FName_CHT, FName_EN, FSubSysID) VALUES
(4, '经销商注册', '經銷商註冊', 'Dealer Registration', 8001),
(5, '经销商返利结算', '經銷商返利結算', 'Dealer Rebate Settlement', 8001),
(6, '门店补货', '門市補貨', 'Store Replenishment', 8003);

INSERT INTO t_Report (FID, FName, FName_CHT, FName_EN, FType, FSubSysID) VALUES
(10, '经销商销量排行', '經銷商銷量排行', 'Dealer Sales Ranking', 1002, 8001),
(11, '经销商返利明细', '經銷商返利明細', 'Dealer Rebate Details', 1000, 8001);
