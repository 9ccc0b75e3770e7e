// Counts a counter_binary_core of WIDTH bits up through its whole range and checks
// that it wraps to zero after 2^WIDTH-1, and that thresh0 marks THRESHOLD.
// Prints one line starting with PASS or FAIL.
module tb_counter_binary;
    parameter integer WIDTH = 4;
    localparam [63:0] THRESHOLD = 3;

    reg clk = 0, ce = 1, sclr = 1, load = 0, up = 1;
    reg [WIDTH-1:0] l = 0;
    wire [WIDTH-1:0] q;
    wire thresh0;
    integer n, errors = 0, hits = 0;

    counter_binary_core #(.WIDTH(WIDTH), .DIRECTION("up"), .THRESHOLD(THRESHOLD)) dut (
        .clk(clk), .ce(ce), .sclr(sclr), .load(load), .up(up), .l(l), .q(q),
        .thresh0(thresh0));

    always #5 clk = ~clk;

    initial begin
        @(negedge clk) sclr = 0;
        // One full lap: 0 .. 2^WIDTH-1, then 0 again.
        for (n = 0; n <= (1 << WIDTH); n = n + 1) begin
            if (q !== n[WIDTH-1:0]) errors = errors + 1;
            if (thresh0 !== (n == THRESHOLD)) errors = errors + 1;
            if (n == (1 << WIDTH) - 1 && q !== {WIDTH{1'b1}}) errors = errors + 1;
            @(negedge clk);
        end
        if (q !== 1) errors = errors + 1;
        if (errors == 0) $display("PASS counter WIDTH=%0d wraps after %0d", WIDTH, (1 << WIDTH) - 1);
        else $display("FAIL counter WIDTH=%0d: %0d mismatches", WIDTH, errors);
        $finish;
    end
endmodule
