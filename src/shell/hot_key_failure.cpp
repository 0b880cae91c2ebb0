#include "shell/hot_key_failure.h"

namespace kmrn {

std::string HotKeyFailureMessage(const std::vector<std::string>& failures, bool snippingToolHoldsPrintScreen) {
  std::string text;
  for (const std::string& failure : failures) text += failure + "\r\n";
  text += snippingToolHoldsPrintScreen
              ? "Windows の設定で PrintScreen キーが画面の切り取りに使われています。[設定] の [アクセシビリティ] > "
                "[キーボード] で「PrintScreen キーを使用して画面キャプチャを開く」をオフにすると、Kamerin "
                "で使えます。"
              : "ほかのプログラムがこのキーを使っています。そのプログラムを終了するか、そのプログラムでキーの割り当てを"
                "外すと、Kamerin で使えます。";
  return text;
}

}  // namespace kmrn
