;;; dimtools.lsp: MorvaneX に付いている見本の LISP（寸法の小さなツール）
;;; MorvaneList.txt の「寸法ツール」行でロードすると、DIMH と DIMTXTSET が使えます。
;;; このファイルを MorvaneX のウィンドウにドロップすると、この 2 つのコマンドの
;;; コマンドリストができます（説明は defun のすぐ上の ; の行から取られます）。

;; 水平寸法を記入
(defun c:DIMH (/ p1 p2 p3)
  (setq p1 (getpoint "\n1 点目: "))
  (if p1 (setq p2 (getpoint p1 "\n2 点目: ")))
  (if p2 (setq p3 (getpoint p2 "\n寸法線の位置: ")))
  (if p3 (command "_.DIMLINEAR" p1 p2 "_H" p3))
  (princ)
)

;; 寸法の文字の高さを設定
(defun c:DIMTXTSET (/ h)
  (setq h (getreal (strcat "\n寸法の文字の高さ <" (rtos (getvar "DIMTXT")) ">: ")))
  (if (and h (> h 0)) (setvar "DIMTXT" h))
  (princ)
)

(princ "\ndimtools.lsp: コマンド DIMH と DIMTXTSET が使えます。")
(princ)
