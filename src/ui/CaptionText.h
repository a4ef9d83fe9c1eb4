#pragma once

#include <QString>

/// What a screen reader is told of a caption: the caption as the user reads it.
namespace quarn::subsysmgr {

/// The caption without its mnemonic: "保存(&S)" gives "保存", "&Save" gives "Save"; "&&" stands
/// for an ampersand and gives "&".
QString WithoutMnemonic(const QString& caption);

/// The caption without its mnemonic and without a closing colon (":" or "："), as the name of
/// the control it introduces: "适应的账套类型：" gives "适应的账套类型".
QString WithoutColon(const QString& caption);

}  // namespace quarn::subsysmgr
