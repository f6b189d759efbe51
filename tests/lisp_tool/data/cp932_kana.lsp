;; ì}ƒc[ƒ‹
; ƒJ[ƒu‚ğ•`‚­
(defun c:ƒJ[ƒu () (princ))
; ƒJƒAƒu
(defun c:ƒJƒAƒu () (princ))
; ‚±T‚ë
(defun c:‚±T‚ë () (princ))
(defun c:‚±‚±‚ë () (princ))
(defun c:¶°ÌŞ () (princ))
(defun c:‚  () (princ))
(defun c:ƒA () (princ))
; à ‡‚ ‡T îï
(defun c:kigou () (princ))
; …@ ğ@ €   ı
(defun c:gaiji () (princ))
; end 