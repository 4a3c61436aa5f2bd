;; Prints the words Emacs's flyspell marks as misspelled in a file, one per line, with our
;; tarvellite-ispell as its ispell program. Run as
;;   emacs --batch -Q -l flyspell_marks.el PROGRAM DICTIONARY FILE
;; The dictionaries are declared here, UTF-8 and with Unicode letters as word characters, so
;; that Emacs passes "-d NAME" and talks UTF-8 whatever it knows of the program.

(require 'ispell)
(require 'flyspell)

(let* ((program (nth 0 command-line-args-left))
       (dictionary (nth 1 command-line-args-left))
       (file (nth 2 command-line-args-left)))
  (setq command-line-args-left nil)
  (setq ispell-program-name program
        ispell-local-dictionary-alist
        '(("en-US" "[[:alpha:]]" "[^[:alpha:]]" "[']" nil ("-d" "en-US") nil utf-8)
          ("ta-IN" "[[:alpha:]]" "[^[:alpha:]]" "" nil ("-d" "ta-IN") nil utf-8))
        ispell-local-dictionary dictionary
        ispell-dictionary dictionary
        flyspell-issue-message-flag nil
        flyspell-issue-welcome-flag nil)
  (with-temp-buffer
    (set-buffer-multibyte t)
    (let ((coding-system-for-read 'utf-8))
      (insert-file-contents file))
    (text-mode)
    (flyspell-mode 1)
    (flyspell-buffer)
    (let (marked)
      (dolist (o (overlays-in (point-min) (point-max)))
        (when (flyspell-overlay-p o)
          (push (cons (overlay-start o)
                      (buffer-substring-no-properties (overlay-start o) (overlay-end o)))
                marked)))
      (setq marked (sort marked (lambda (a b) (< (car a) (car b)))))
      (let ((coding-system-for-write 'utf-8))
        (dolist (m marked)
          (princ (concat (cdr m) "\n")))))))
