(defun c:sample () (princ))
