// Drives a generated counter wrapper, counter_under_test, through one full turn. Its
// outputs land in 64-bit nets, so a counter wider than the customized WIDTH shows: it
// must reach 2**WIDTH - 1 and wrap to zero on the next clock, and thresh0 must be high
// exactly while the count equals the customized THRESHOLD. Prints PASS or FAIL.
module tb_counter_wrapper;
    parameter integer WIDTH = 5;
    parameter integer THRESHOLD = 3;

    reg clk = 0, ce = 0, sclr = 1, load = 0, up = 1;
    reg [63:0] l = 0;
    wire [63:0] q;
    wire thresh0;
    integer n, errors = 0;

    counter_under_test dut (
        .clk(clk), .ce(ce), .sclr(sclr), .load(load), .up(up), .l(l), .q(q),
        .thresh0(thresh0));

    always #5 clk = ~clk;

    initial begin
        @(negedge clk) sclr = 0;
        ce = 1;
        for (n = 1; n < (1 << WIDTH); n = n + 1) begin
            @(negedge clk);
            if (q !== n) errors = errors + 1;
            if (thresh0 !== (n == THRESHOLD)) errors = errors + 1;
        end
        @(negedge clk);
        if (q !== 0) errors = errors + 1;
        if (errors == 0) $display("PASS counter wraps after %0d counts", 1 << WIDTH);
        else $display("FAIL counter WIDTH=%0d: %0d mismatches, q=%0d", WIDTH, errors, q);
        $finish;
    end
endmodule
