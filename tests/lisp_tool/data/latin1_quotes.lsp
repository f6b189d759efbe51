; Avant le texte
(defun c:avant () (princ))
;; Latin-1 text: each accented letter is a CP932 lead byte
(setq msg "café")
; Crée une ligne
(defun c:ligne ( / p) (command "_line" p "café") (princ))
; Résumé "quoted"
(defun c:resume () (princ "été"))
(defun c:Zone-B () (princ))
(defun c:zone_a () (princ))
(defun c:zone'c () (princ))
